#pragma once
// TEdit: a single-line text box. The caret sits between characters (0..length); a selection runs
// from an anchor to the caret. Mouse: press places the caret (Shift extends), dragging selects,
// double click selects all. Keys: Left/Right/Home/End (with Shift: select), Backspace, Delete,
// Ctrl+A, Ctrl+C/X/V and Shift+Insert/Del, Ctrl+Insert through the backend's clipboard.
// OnKeyPress runs before a character is inserted and may swallow it (set it to 0).
// The focused box's caret blinks; typing or moving it shows it at once and restarts the blink.
#include <string>

#include "gui/CustomControl.h"

namespace gui {

class TTimer;

class TEdit : public TCustomControl {
public:
    explicit TEdit(TComponent* owner);
    ~TEdit() override;

    int MaxLength() const { return maxLength_; }  // 0 = no limit
    void SetMaxLength(int v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char c);
    bool AutoSelect() const { return autoSelect_; }  // select all on entering by keyboard
    void SetAutoSelect(bool v) { autoSelect_ = v; }
    bool Modified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }
    bool BorderVisible() const { return border_; }
    void SetBorderVisible(bool v);

    int SelStart() const;
    void SetSelStart(int pos);  // caret there, no selection
    int SelLength() const;
    void SetSelLength(int len);  // selects from SelStart
    std::string SelText() const;
    void SetSelText(const std::string& text);  // replaces the selection (MaxLength applies)
    void SelectAll();
    void ClearSelection();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    int CaretPos() const { return caret_; }
    bool CaretVisible() const { return caretOn_; }

    TNotifyEvent OnChange;

    bool WantsChars() const override { return true; }
    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(char& key) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void DoEnter() override;
    void DoExit() override;
    void FormActiveChanged() override;
    void TextChanged() override;
    virtual void Change();

private:
    int PosAt(int x);  // caret position nearest client x
    int TextX(int pos);
    void MoveCaret(int pos, bool extend);
    void ReplaceSelection(const std::string& text);
    void CaretMoved();
    void RestartBlink();
    std::string Shown() const;

    int maxLength_ = 0;
    bool readOnly_ = false;
    char passwordChar_ = 0;
    bool autoSelect_ = true;
    bool modified_ = false;
    bool border_ = true;
    int caret_ = 0;
    int anchor_ = 0;
    int scroll_ = 0;  // pixels the text is scrolled left
    bool caretOn_ = false;
    TTimer* blink_ = nullptr;  // owned as a child component
    bool selecting_ = false;
    bool settingText_ = false;
};

}  // namespace gui
