#pragma once
// TFolderBrowser: the modal "choose a folder" dialog. It starts at the computer's drives (on
// POSIX: the home folder, the root and the user's mounts), opens folders by double click or
// Enter, goes up with "..", and confirms only a real folder: the one selected, else the one open.
//
// BrowseForFolder() is what programs call: a backend that answers prompts itself (headless) does
// so; otherwise the dialog runs.
#include <optional>
#include <string>
#include <vector>

#include "gui/Form.h"

namespace gui {

class TButton;
class TLabel;

class TFolderBrowser : public TForm {
public:
    // title: the instruction above the list. Paths are app paths (cp1252, native form).
    TFolderBrowser(TComponent* owner, const std::string& title, const std::string& start = {});

    // "" = the top level (the drives).
    const std::string& Folder() const { return folder_; }
    void OpenFolder(const std::string& folder);
    const std::vector<std::string>& Entries() const { return entries_; }  // shown names
    int Selected() const { return selected_; }
    void Select(int index);
    void OpenSelected();
    // The folder OK would return; nullopt while none (top level, nothing selected).
    std::optional<std::string> Choice() const;
    std::optional<std::string> Execute();  // ShowModal; the choice after OK

    TButton* OkButton() const { return ok_; }
    TButton* CancelButton() const { return cancel_; }

private:
    friend class FolderList;
    void Refresh();
    std::string PathOf(int index) const;

    std::string folder_;
    std::vector<std::string> entries_;
    std::vector<std::string> paths_;  // full app path per entry ("" for "..")
    int selected_ = -1;
    TLabel* where_ = nullptr;
    TCustomControl* list_ = nullptr;
    TButton* ok_ = nullptr;
    TButton* cancel_ = nullptr;
};

std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& start = {});

}  // namespace gui
