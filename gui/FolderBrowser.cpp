#include "gui/FolderBrowser.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "gui/Application.h"
#include "gui/Button.h"
#include "gui/Label.h"
#include "gui/Panel.h"
#include "platform/FileOps.h"
#include "platform/Services.h"
#include "platform/Volume.h"

namespace gui {

namespace {

constexpr int kRow = 18;

std::string WithSlash(std::string p) {
    if (p.empty() || p.back() != '/') p += '/';
    return p;
}

std::string WithoutSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

}  // namespace

// The list of folders: one row per entry, the selection filled, a scroll offset that follows it.
class FolderList : public TCustomControl {
public:
    FolderList(TComponent* owner, TFolderBrowser* browser) : TCustomControl(owner), browser_(browser) {
        SetTabStop(true);
        SetColor(gfx::clWindow);
    }
    int top = 0;

    void EnsureVisible() {
        int rows = std::max(1, (Height() - 4) / kRow);
        int sel = browser_->Selected();
        if (sel < top) top = std::max(0, sel);
        if (sel >= top + rows) top = sel - rows + 1;
        Invalidate();
    }

protected:
    void Paint() override {
        TCanvas& c = Canvas();
        TRect r = ClientRect();
        Frame3D(c, r, gfx::clBtnShadow, gfx::clBtnHighlight, 1);
        c.Brush().SetStyle(gfx::bsSolid);
        c.Brush().SetColor(Color());
        c.FillRect(r);
        c.SetFont(Font());
        const auto& entries = browser_->Entries();
        for (int i = top; i < int(entries.size()); ++i) {
            int y = 2 + (i - top) * kRow;
            if (y >= Height() - 2) break;
            TRect row{2, y, Width() - 2, y + kRow};
            bool sel = i == browser_->Selected();
            if (sel) {
                c.Brush().SetStyle(gfx::bsSolid);
                c.Brush().SetColor(Focused() ? gfx::clHighlight : gfx::clBtnFace);
                c.FillRect(row);
            }
            c.Brush().SetStyle(gfx::bsClear);
            c.Font().SetColor(sel && Focused() ? gfx::clHighlightText : gfx::clWindowText);
            c.DrawText(entries[size_t(i)], gfx::Offset(row, 4, 0),
                       gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
        }
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        if (CanFocus()) SetFocus();
        if (b == mbLeft) {
            int i = top + (y - 2) / kRow;
            if (y >= 2 && i < int(browser_->Entries().size())) browser_->Select(i);
        }
        TCustomControl::MouseDown(b, s, x, y);
    }
    void DblClick() override {
        TCustomControl::DblClick();
        if (browser_->Selected() >= 0) browser_->OpenSelected();
    }
    bool DoMouseWheel(TShiftState, int delta, TPoint) override {
        int rows = std::max(1, (Height() - 4) / kRow);
        int maxTop = std::max(0, int(browser_->Entries().size()) - rows);
        top = std::clamp(top - delta / 120 * 3, 0, maxTop);
        Invalidate();
        return true;
    }
    void KeyDown(int& key, TShiftState shift) override {
        TCustomControl::KeyDown(key, shift);
        int n = int(browser_->Entries().size());
        int sel = browser_->Selected();
        switch (key) {
            case VK_UP:
                browser_->Select(std::max(0, sel - 1));
                break;
            case VK_DOWN:
                browser_->Select(std::min(n - 1, sel + 1));
                break;
            case VK_HOME:
                browser_->Select(0);
                break;
            case VK_END:
                browser_->Select(n - 1);
                break;
            case VK_BACK:
                if (!browser_->Folder().empty()) browser_->Select(0), browser_->OpenSelected();
                break;
            case VK_RIGHT:
                if (sel >= 0) browser_->OpenSelected();
                break;
            default:
                return;
        }
        key = 0;
    }
    void DoEnter() override {
        TCustomControl::DoEnter();
        Invalidate();
    }
    void DoExit() override {
        TCustomControl::DoExit();
        Invalidate();
    }

private:
    TFolderBrowser* browser_;
};

TFolderBrowser::TFolderBrowser(TComponent* owner, const std::string& title, const std::string& start)
    : TForm(owner) {
    BeginLoading();
    SetName("FolderBrowser");
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetCaption("Ordner suchen");
    SetBounds(0, 0, 340, 360);
    auto* text = Make<TLabel>();
    text->SetParent(this);
    text->SetShowAccelChar(false);
    text->SetWordWrap(true);
    text->SetBounds(12, 10, 316, 32);
    text->SetCaption(title);
    where_ = Make<TLabel>();
    where_->SetParent(this);
    where_->SetShowAccelChar(false);
    where_->SetAutoSize(false);
    where_->SetBounds(12, 44, 316, 16);
    auto* list = Make<FolderList>(this);
    list->SetParent(this);
    list->SetBounds(12, 62, 316, 246);
    list_ = list;
    ok_ = Make<TButton>();
    ok_->SetParent(this);
    ok_->SetCaption("OK");
    ok_->SetDefault(true);
    ok_->SetModalResult(mrOk);
    ok_->SetBounds(172, 322, 75, 25);
    cancel_ = Make<TButton>();
    cancel_->SetParent(this);
    cancel_->SetCaption("Abbrechen");
    cancel_->SetCancel(true);
    cancel_->SetModalResult(mrCancel);
    cancel_->SetBounds(253, 322, 75, 25);
    Loaded();
    OpenFolder(start.empty() ? std::string() : WithoutSlash(start));
    SetActiveControl(list_);
}

void TFolderBrowser::OpenFolder(const std::string& folder) {
    // Only real folders open; anything else shows the drives.
    folder_ = (!folder.empty() && platform::FileOps::FolderExists(folder)) ? folder : std::string();
    Refresh();
}

void TFolderBrowser::Refresh() {
    entries_.clear();
    paths_.clear();
    if (folder_.empty()) {
        platform::Volume* volume = platform::Services().volume;
        std::vector<std::string> drives;
        if (volume) drives = volume->Drives();
        for (const std::string& d : drives) {
            std::string app = base::Utf8ToCp1252(d);
            entries_.push_back(app);
            paths_.push_back(WithoutSlash(app));
        }
        where_->SetCaption("Computer");
    } else {
        entries_.push_back("..");
        paths_.push_back("");
        for (const std::string& name : platform::FileOps::SubFolders(WithSlash(folder_))) {
            entries_.push_back(name);
            paths_.push_back(WithSlash(folder_) + name);
        }
        where_->SetCaption(folder_);
    }
    selected_ = -1;
    if (auto* l = dynamic_cast<FolderList*>(list_)) l->top = 0;
    ok_->SetEnabled(Choice().has_value());
    list_->Invalidate();
}

std::string TFolderBrowser::PathOf(int index) const {
    if (index < 0 || index >= int(paths_.size())) return {};
    return paths_[size_t(index)];
}

void TFolderBrowser::Select(int index) {
    if (index < -1 || index >= int(entries_.size())) return;
    selected_ = index;
    ok_->SetEnabled(Choice().has_value());
    if (auto* l = dynamic_cast<FolderList*>(list_)) l->EnsureVisible();
}

void TFolderBrowser::OpenSelected() {
    if (selected_ < 0) return;
    std::string path = PathOf(selected_);
    if (path.empty()) {
        // "..": up one level; above a drive's top lie the drives.
        std::vector<std::string> drives;
        if (platform::Volume* v = platform::Services().volume) drives = v->Drives();
        bool isDrive = false;
        for (const std::string& d : drives)
            if (WithoutSlash(base::Utf8ToCp1252(d)) == folder_) isDrive = true;
        size_t slash = folder_.find_last_of('/');
        if (isDrive || folder_ == "/" || slash == std::string::npos)
            OpenFolder({});
        else
            OpenFolder(slash == 0 ? std::string("/") : folder_.substr(0, slash));
        return;
    }
    OpenFolder(path);
}

std::optional<std::string> TFolderBrowser::Choice() const {
    if (selected_ >= 0 && !PathOf(selected_).empty()) return PathOf(selected_);
    if (!folder_.empty()) return folder_;
    return std::nullopt;
}

std::optional<std::string> TFolderBrowser::Execute() {
    if (ShowModal() != mrOk) return std::nullopt;
    auto choice = Choice();
    if (choice && !platform::FileOps::FolderExists(*choice)) return std::nullopt;
    return choice;
}

std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& start) {
    if (!Application) return std::nullopt;
    if (auto answer = Application->TheBackend().PromptFolder(title, start)) return *answer;
    TFolderBrowser* dialog = new TFolderBrowser(Application, title, start);
    TComponent::WeakOf<TFolderBrowser> alive(dialog);
    std::optional<std::string> result;
    try {
        result = dialog->Execute();
    } catch (...) {
        if (alive) delete dialog;
        throw;
    }
    if (alive) delete dialog;
    return result;
}

}  // namespace gui
