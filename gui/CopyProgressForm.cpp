#include "gui/CopyProgressForm.h"

#include "base/StrUtils.h"
#include "gui/Application.h"
#include "gui/Button.h"
#include "gui/Label.h"
#include "gui/Panel.h"

namespace gui {

TCopyProgressForm::TCopyProgressForm(TComponent* owner, const std::string& caption) : TForm(owner) {
    BeginLoading();
    SetName("CopyProgress");
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetCaption(caption);
    SetBounds(0, 0, 360, 120);
    file_ = Make<TLabel>();
    file_->SetParent(this);
    file_->SetShowAccelChar(false);
    file_->SetAutoSize(false);
    file_->SetBounds(12, 12, 336, 16);
    cancel_ = Make<TButton>();
    cancel_->SetParent(this);
    cancel_->SetCaption("Abbrechen");
    cancel_->SetCancel(true);
    cancel_->SetBounds(273, 84, 75, 25);
    cancel_->OnClick = [this](TComponent*) { cancelled_ = true; };
    // Closing the window is asking to cancel.
    OnCloseQuery = [this](TComponent*, bool& canClose) {
        cancelled_ = true;
        canClose = false;
    };
    Loaded();
}

const std::string& TCopyProgressForm::FileText() const {
    return file_->Caption();
}

TRect TCopyProgressForm::BarRect() const {
    return {12, 40, 348, 58};
}

void TCopyProgressForm::SetProgress(const platform::CopyProgress& p) {
    file_->SetCaption(p.file.empty() ? std::string() : "Kopiere " + p.file);
    int percent = p.bytesTotal ? int(p.bytesDone * 100 / p.bytesTotal)
                               : (p.filesTotal ? p.filesDone * 100 / p.filesTotal : 0);
    if (percent != percent_) {
        percent_ = percent;
        TRect r = BarRect();
        InvalidateFormRect(r);
    }
}

void TCopyProgressForm::Paint() {
    TCanvas& c = Canvas();
    TRect r = BarRect();
    Frame3D(c, r, gfx::clBtnShadow, gfx::clBtnHighlight, 1);
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(gfx::clWindow);
    c.FillRect(r);
    TRect done = r;
    done.Right = r.Left + r.Width() * percent_ / 100;
    c.Brush().SetColor(gfx::clHighlight);
    c.FillRect(done);
}

platform::OverwriteAnswer AskOverwrite(const std::string& target) {
    if (!Application) return platform::OverwriteAnswer::kCancel;
    std::string text = "Die Datei \"" + target + "\" ist bereits vorhanden.\n\nSoll sie ersetzt werden?";
    switch (Application->MessageBox(text, "Datei ersetzen", MB_YESALLNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            return platform::OverwriteAnswer::kYes;
        case IDYESTOALL:
            return platform::OverwriteAnswer::kYesToAll;
        case IDNO:
            return platform::OverwriteAnswer::kNo;
        default:
            return platform::OverwriteAnswer::kCancel;
    }
}

platform::CopyResult CopyFolderWithProgress(const std::string& source, const std::string& target,
                                            const std::string& caption) {
    if (!Application) return platform::FileOps::CopyFolderContents(source, target);
    TDispatchScope scope;  // the form goes when this returns, even if one of its handlers freed it
    auto* form = new TCopyProgressForm(Application, caption);
    form->Show();
    Application->EnterModal(form);
    platform::CopyCallbacks callbacks;
    callbacks.progress = [&](const platform::CopyProgress& p) {
        if (form->Freeing()) return false;
        form->SetProgress(p);
        Application->ProcessMessages();
        return !form->Freeing() && !form->Cancelled() && !Application->Terminated();
    };
    callbacks.confirmOverwrite = [&](const std::string& file) { return AskOverwrite(file); };
    platform::CopyResult result;
    try {
        result = platform::FileOps::CopyFolderContents(source, target, callbacks);
    } catch (...) {
        Application->LeaveModal(form);
        form->Free();
        throw;
    }
    Application->LeaveModal(form);
    form->Free();
    return result;
}

}  // namespace gui
