#pragma once
// TCopyProgressForm: the window shown while a folder is copied: the file being copied, a bar for
// the whole copy and "Abbrechen". The other windows take no input meanwhile, but the loop keeps
// running (every progress report processes pending messages), so the window paints and the
// button works. An existing file brings up the overwrite question.
#include <string>

#include "gui/Form.h"
#include "platform/FileOps.h"

namespace gui {

class TButton;
class TLabel;

class TCopyProgressForm : public TForm {
public:
    TCopyProgressForm(TComponent* owner, const std::string& caption);

    void SetProgress(const platform::CopyProgress& p);
    bool Cancelled() const { return cancelled_; }
    int Percent() const { return percent_; }
    const std::string& FileText() const;
    TButton* CancelButton() const { return cancel_; }

protected:
    void Paint() override;

private:
    TRect BarRect() const;
    TLabel* file_ = nullptr;
    TButton* cancel_ = nullptr;
    int percent_ = 0;
    bool cancelled_ = false;
};

// The overwrite question for target (cp1252): Ja / Nein / Abbrechen.
platform::OverwriteAnswer AskOverwrite(const std::string& target);

// Copies the contents of source into target with the progress window and the overwrite
// question (paths are app paths). The window closes when done.
platform::CopyResult CopyFolderWithProgress(const std::string& source, const std::string& target,
                                            const std::string& caption = "Kopieren...");

}  // namespace gui
