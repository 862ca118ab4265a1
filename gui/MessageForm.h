#pragma once
// TMessageForm: the message box the framework draws when the backend does not answer it itself:
// an icon for the kind, the text, and the buttons of the flags (OK, OK/Abbrechen, Ja/Nein,
// Ja/Nein/Abbrechen). Enter takes the default button; Escape cancels where a box can be cancelled.
#include <string>
#include <vector>

#include "gui/Form.h"
#include "gui/backend/Backend.h"

namespace gui {

class TButton;

class TMessageForm : public TForm {
public:
    TMessageForm(TComponent* owner, const MessageBoxRequest& request);

    const std::string& Text() const { return text_; }
    TButton* Buttons(int index) const { return buttons_.at(size_t(index)); }
    int ButtonCount() const { return int(buttons_.size()); }

protected:
    void Paint() override;

private:
    std::string text_;
    int icon_;
    TRect textRect_{};
    std::vector<TButton*> buttons_;
};

}  // namespace gui
