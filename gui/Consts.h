#pragma once
// Small shared constants of the framework: cursors, modal results and message-box flags, numbered
// like their Windows counterparts.

namespace gui {

using TCursor = int;
enum : TCursor {
    crDefault = 0,  // the control's own cursor, or the arrow
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNo = -18,
    crSizeAll = -22,
    crHandPoint = -21,
    crAppStart = -19,
};

using TModalResult = int;
enum : TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrYesToAll = 10,
};

// Message-box flags: one button set | one icon.
enum : int {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_YESALLNOCANCEL = 0x07,  // our own set, for the file-replace question: Ja, Ja alle, Nein, Abbrechen
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
};
// Message-box results are the modal results: IDOK == mrOk, IDCANCEL == mrCancel, IDYES, IDNO.
enum : int { IDOK = mrOk, IDCANCEL = mrCancel, IDYES = mrYes, IDNO = mrNo, IDYESTOALL = mrYesToAll };

}  // namespace gui
