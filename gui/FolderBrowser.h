#pragma once
// TFolderBrowser: the modal "choose a folder" dialog, a tree whose top level is the computer's
// drives (on POSIX: the home folder, the root and the user's mounts). A folder's subfolders are
// read when it is first expanded; the box before a folder expands or collapses it, as do a double
// click, Right/Left and +/-. OK confirms the selected folder and only a real one.
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
    // title: the instruction above the tree. Paths are app paths (cp1252, native form). A start
    // folder is opened down to and selected.
    TFolderBrowser(TComponent* owner, const std::string& title, const std::string& start = {});

    // One visible line of the tree.
    struct TRow {
        std::string name;  // as shown
        std::string path;  // app path, without a trailing '/' (except the root "/")
        int depth = 0;     // 0 for a drive
        bool expanded = false;
        bool leaf = false;  // expanded once and found without subfolders
    };
    const std::vector<TRow>& Rows() const { return rows_; }
    int Selected() const { return selected_; }  // -1: none
    void Select(int row);
    void Expand(int row);
    void Collapse(int row);
    // The row of path among the visible ones, -1 if not shown.
    int RowOf(const std::string& path) const;
    // The folder OK would return; nullopt while none is selected.
    std::optional<std::string> Choice() const;
    std::optional<std::string> Execute();  // ShowModal; the choice after OK

    TButton* OkButton() const { return ok_; }
    TButton* CancelButton() const { return cancel_; }

private:
    friend class FolderTree;
    void OpenDownTo(const std::string& folder);
    void Changed();

    std::vector<TRow> rows_;
    int selected_ = -1;
    TLabel* where_ = nullptr;
    TCustomControl* tree_ = nullptr;
    TButton* ok_ = nullptr;
    TButton* cancel_ = nullptr;
};

std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& start = {});

}  // namespace gui
