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
constexpr int kIndent = 16;  // per level
constexpr int kBox = 9;      // the expand box

std::string WithSlash(std::string p) {
    if (p.empty() || p.back() != '/') p += '/';
    return p;
}

std::string WithoutSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

// folder itself or somewhere below it
bool IsWithin(const std::string& path, const std::string& folder) {
    if (folder == "/") return !path.empty() && path[0] == '/';
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              path[folder.size()] == '/');
}

}  // namespace

// The tree: one row per visible folder, the selection filled, a scroll offset that follows it.
class FolderTree : public TCustomControl {
public:
    FolderTree(TComponent* owner, TFolderBrowser* browser) : TCustomControl(owner), browser_(browser) {
        SetTabStop(true);
        SetColor(gfx::clWindow);
    }
    int top = 0;

    int VisibleRows() const { return std::max(1, (Height() - 4) / kRow); }
    void EnsureVisible() {
        int rows = VisibleRows();
        int sel = browser_->Selected();
        if (sel >= 0 && sel < top) top = sel;
        if (sel >= top + rows) top = sel - rows + 1;
        top = std::clamp(top, 0, std::max(0, int(browser_->Rows().size()) - rows));
        Invalidate();
    }

protected:
    static int BoxLeft(int depth) { return 4 + depth * kIndent; }

    void Paint() override {
        TCanvas& c = Canvas();
        TRect r = ClientRect();
        Frame3D(c, r, gfx::clBtnShadow, gfx::clBtnHighlight, 1);
        c.Brush().SetStyle(gfx::bsSolid);
        c.Brush().SetColor(Color());
        c.FillRect(r);
        int level = c.SaveState();
        c.IntersectClip(r);
        c.SetFont(Font());
        const auto& rows = browser_->Rows();
        for (int i = top; i < int(rows.size()); ++i) {
            int y = 2 + (i - top) * kRow;
            if (y >= Height() - 2) break;
            const TFolderBrowser::TRow& row = rows[size_t(i)];
            int bx = BoxLeft(row.depth), by = y + (kRow - kBox) / 2;
            if (!row.leaf) {
                c.Brush().SetStyle(gfx::bsSolid);
                c.Brush().SetColor(gfx::clBtnShadow);
                c.FrameRect({bx, by, bx + kBox, by + kBox});
                c.Brush().SetColor(gfx::clWindowText);
                c.FillRect({bx + 2, by + kBox / 2, bx + kBox - 2, by + kBox / 2 + 1});
                if (!row.expanded) c.FillRect({bx + kBox / 2, by + 2, bx + kBox / 2 + 1, by + kBox - 2});
            }
            TRect text{bx + kBox + 4, y, Width() - 2, y + kRow};
            bool sel = i == browser_->Selected();
            if (sel) {
                c.Brush().SetStyle(gfx::bsSolid);
                c.Brush().SetColor(Focused() ? gfx::clHighlight : gfx::clBtnFace);
                TRect fill = text;
                fill.Right = std::min(text.Right, text.Left + c.TextWidth(row.name) + 6);
                c.FillRect(fill);
            }
            c.Brush().SetStyle(gfx::bsClear);
            c.Font().SetColor(sel && Focused() ? gfx::clHighlightText : gfx::clWindowText);
            c.DrawText(row.name, gfx::Offset(text, 3, 0),
                       gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
        }
        c.RestoreState(level);
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        if (CanFocus()) SetFocus();
        int i = top + (y - 2) / kRow;
        if (b == mbLeft && y >= 2 && i < int(browser_->Rows().size())) {
            const TFolderBrowser::TRow& row = browser_->Rows()[size_t(i)];
            int bx = BoxLeft(row.depth);
            if (x >= bx - 2 && x < bx + kBox + 2 && !(s & ssDouble))
                Toggle(i);
            else
                browser_->Select(i);
        }
        TCustomControl::MouseDown(b, s, x, y);
    }
    void DblClick() override {
        TCustomControl::DblClick();
        if (browser_->Selected() >= 0) Toggle(browser_->Selected());
    }
    bool DoMouseWheel(TShiftState, int delta, TPoint) override {
        int maxTop = std::max(0, int(browser_->Rows().size()) - VisibleRows());
        top = std::clamp(top - delta / 120 * 3, 0, maxTop);
        Invalidate();
        return true;
    }
    void KeyDown(int& key, TShiftState shift) override {
        TCustomControl::KeyDown(key, shift);
        const auto& rows = browser_->Rows();
        int n = int(rows.size());
        int sel = browser_->Selected();
        if (n == 0) return;
        int page = VisibleRows() - 1;
        switch (key) {
            case VK_UP:
                browser_->Select(std::max(0, sel - 1));
                break;
            case VK_DOWN:
                browser_->Select(std::min(n - 1, sel + 1));
                break;
            case VK_PRIOR:
                browser_->Select(std::max(0, sel - page));
                break;
            case VK_NEXT:
                browser_->Select(std::min(n - 1, std::max(0, sel) + page));
                break;
            case VK_HOME:
                browser_->Select(0);
                break;
            case VK_END:
                browser_->Select(n - 1);
                break;
            case VK_RIGHT:
                // Open the folder, or step into it when it is open.
                if (sel < 0) break;
                if (!rows[size_t(sel)].expanded)
                    browser_->Expand(sel);
                else if (sel + 1 < n && rows[size_t(sel) + 1].depth > rows[size_t(sel)].depth)
                    browser_->Select(sel + 1);
                break;
            case VK_LEFT:
            case VK_BACK:
                // Close the folder, or step out to its parent.
                if (sel < 0) break;
                if (key == VK_LEFT && rows[size_t(sel)].expanded) {
                    browser_->Collapse(sel);
                } else {
                    int parent = sel - 1;
                    while (parent >= 0 && rows[size_t(parent)].depth >= rows[size_t(sel)].depth) --parent;
                    if (parent >= 0) browser_->Select(parent);
                }
                break;
            case VK_ADD:
                if (sel >= 0) browser_->Expand(sel);
                break;
            case VK_SUBTRACT:
                if (sel >= 0) browser_->Collapse(sel);
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
    void Toggle(int row) {
        if (browser_->Rows()[size_t(row)].expanded)
            browser_->Collapse(row);
        else
            browser_->Expand(row);
    }

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
    auto* tree = Make<FolderTree>(this);
    tree->SetParent(this);
    tree->SetBounds(12, 62, 316, 246);
    tree_ = tree;
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
    if (platform::Volume* volume = platform::Services().volume) {
        for (const std::string& d : volume->Drives()) {
            TRow row;
            row.path = WithoutSlash(base::Utf8ToCp1252(d));
            row.name = row.path;
            rows_.push_back(std::move(row));
        }
    }
    // Only a real folder is opened to; anything else leaves the drives closed.
    std::string folder = WithoutSlash(start);
    if (!folder.empty() && platform::FileOps::FolderExists(folder)) OpenDownTo(folder);
    Changed();
    SetActiveControl(tree_);
}

void TFolderBrowser::OpenDownTo(const std::string& folder) {
    // The drive that holds it most closely: the home folder rather than the root.
    int at = -1;
    for (int i = 0; i < int(rows_.size()); ++i)
        if (IsWithin(folder, rows_[size_t(i)].path) &&
            (at < 0 || rows_[size_t(i)].path.size() > rows_[size_t(at)].path.size()))
            at = i;
    if (at < 0) return;
    // Down one folder at a time; a hidden or unreadable one ends the way early.
    while (rows_[size_t(at)].path != folder) {
        Expand(at);
        const std::string& parent = rows_[size_t(at)].path;
        size_t from = parent == "/" ? 1 : parent.size() + 1;
        size_t slash = folder.find('/', from);
        int next = RowOf(folder.substr(0, slash));
        if (next < 0) break;
        at = next;
    }
    if (rows_[size_t(at)].path == folder) Expand(at);
    selected_ = at;
}

int TFolderBrowser::RowOf(const std::string& path) const {
    for (int i = 0; i < int(rows_.size()); ++i)
        if (rows_[size_t(i)].path == path) return i;
    return -1;
}

void TFolderBrowser::Select(int row) {
    if (row < -1 || row >= int(rows_.size())) return;
    selected_ = row;
    Changed();
}

void TFolderBrowser::Expand(int row) {
    if (row < 0 || row >= int(rows_.size())) return;
    TRow& r = rows_[size_t(row)];
    if (r.expanded || r.leaf) return;
    std::vector<TRow> children;
    for (const std::string& name : platform::FileOps::SubFolders(WithSlash(r.path))) {
        TRow child;
        child.name = name;
        child.path = WithSlash(r.path) + name;
        child.depth = r.depth + 1;
        children.push_back(std::move(child));
    }
    if (children.empty()) {
        r.leaf = true;
    } else {
        r.expanded = true;
        rows_.insert(rows_.begin() + row + 1, children.begin(), children.end());
        if (selected_ > row) selected_ += int(children.size());
    }
    Changed();
}

void TFolderBrowser::Collapse(int row) {
    if (row < 0 || row >= int(rows_.size()) || !rows_[size_t(row)].expanded) return;
    int end = row + 1;
    while (end < int(rows_.size()) && rows_[size_t(end)].depth > rows_[size_t(row)].depth) ++end;
    rows_.erase(rows_.begin() + row + 1, rows_.begin() + end);
    rows_[size_t(row)].expanded = false;
    // A selection inside moves up to the folder that closed.
    if (selected_ > row && selected_ < end)
        selected_ = row;
    else if (selected_ >= end)
        selected_ -= end - row - 1;
    Changed();
}

void TFolderBrowser::Changed() {
    ok_->SetEnabled(Choice().has_value());
    where_->SetCaption(selected_ >= 0 ? rows_[size_t(selected_)].path : std::string("Computer"));
    if (auto* tree = dynamic_cast<FolderTree*>(tree_)) tree->EnsureVisible();
}

std::optional<std::string> TFolderBrowser::Choice() const {
    if (selected_ < 0) return std::nullopt;
    return rows_[size_t(selected_)].path;
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
    TDispatchScope scope;  // the dialog goes when this returns, even if one of its handlers freed it
    TFolderBrowser* dialog = new TFolderBrowser(Application, title, start);
    try {
        std::optional<std::string> result = dialog->Execute();
        dialog->Free();
        return result;
    } catch (...) {
        dialog->Free();
        throw;
    }
}

}  // namespace gui
