#pragma once
// The whole menu in one test: a copy of the sample disc (or a disc the test writes) in a temporary
// folder, the program started on it through TProgramStart with the headless backend, the main
// window shown. Input goes through the backend as a person's would; sounds and shell calls are
// recorded by the platform's recording services.
//
//   MenuFixture menu;                       // copy of <build>/disc, started and shown
//   menu.Click("bRubrik2");                 // by component name (the main window's)
//   EXPECT_EQ(menu.LastSoundSlot(), 0);
//   menu.Screenshot("page.png");            // into $CDMENU_SHOTS or the temp folder
//
//   MenuFixture menu(MenuFixture::kNoStart); // copy only: change the disc first, then Start()
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/BannerStrip.h"
#include "app/CategoryColumn.h"
#include "app/InfoFrame.h"
#include "app/MainForm.h"
#include "app/MenuModel.h"
#include "app/MenuResource.h"
#include "app/ProgramListPanel.h"
#include "app/ProgramPageView.h"
#include "app/Start.h"
#include "base/NativeFile.h"
#include "flat/FlatButton.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatListBox.h"
#include "flat/FlatScrollbar.h"
#include "gfx/Font.h"
#include "gui/Application.h"
#include "gui/Control.h"
#include "gui/Form.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "gui/Panel.h"
#include "gui/Timer.h"
#include "gui/backend/Automation.h"
#include "media/GIFImage.h"
#include "platform/RecordingShell.h"
#include "platform/RecordingSound.h"
#include "platform/Services.h"
#include "platform/SingleInstance.h"
#include "skin/AntiAliasLabel.h"
#include "skin/GlyphButton.h"
#include "skin/PicturePanel.h"
#include "skin/SkinButton.h"
#include "skin/TransText.h"

// A native path as messages name it: with the system's own separators.
inline std::string ShownPath(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

class MenuFixture {
public:
    enum StartMode { kStart, kNoStart };

    // The sample disc built by the build (CDMENU_BUILD, else next to the test program's folder).
    static std::string SampleDisc() {
        if (const char* b = getenv("CDMENU_BUILD"); b && *b) return std::string(b) + "/disc";
        std::error_code ec;
        auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        return (exe.parent_path().parent_path() / "disc").string();
    }

    explicit MenuFixture(StartMode mode = kStart, bool copySample = true) {
        const std::filesystem::path folder =
            std::filesystem::canonical(base::NativeFsPath(base::MakePrivateFolder(
                base::FsPathToNative(std::filesystem::temp_directory_path() / "cdmenu-menu-"))));
        // In the program's native form ('/' separated on every system), as it names files itself.
        dir_ = base::FsPathToNative(folder) + "/";
        // Into the folder as such: named with a trailing separator, the Windows runtime copies nothing.
        if (copySample)
            std::filesystem::copy(base::NativeFsPath(SampleDisc()), folder,
                                  std::filesystem::copy_options::recursive);
        Options.headless = true;
        Options.dataDir = dir_;
        Options.rootDir = dir_;
        Options.programFile = dir_ + "cdmenu";
        if (mode == kStart) Start();
    }
    ~MenuFixture() {
        start_.reset();
        if (auto* lock = platform::Services().singleInstance) lock->Release(kInstanceName);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    MenuFixture(const MenuFixture&) = delete;
    MenuFixture& operator=(const MenuFixture&) = delete;

    // Native folder of the disc copy, with a trailing '/'.
    const std::string& Dir() const { return dir_; }
    // Dir() + rel as messages name it: with the system's own separators.
    std::string Shown(const std::string& rel) const { return ShownPath(dir_ + rel); }
    void WriteFile(const std::string& rel, const std::string& content) const {
        std::filesystem::create_directories(std::filesystem::path(dir_ + rel).parent_path());
        std::ofstream(dir_ + rel, std::ios::binary) << content;
    }
    std::string ReadFile(const std::string& rel) const {
        std::ifstream in(dir_ + rel, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The command line of the start (data and root folder: the disc copy).
    TStartOptions Options;
    // Settings of the headless screen to apply before the start.
    int colorDepth = 32;
    int screenWidth = 1024, screenHeight = 768;

    // Starts the program on the disc copy (guard, application, windows) and shows the main window.
    // False when the initialisation failed.
    bool Start(bool show = true) {
        start_ = std::make_unique<TProgramStart>(Options);
        acquired_ = start_->AcquireInstance();
        if (!acquired_) return false;
        rec_ = platform::ActiveRecordings();
        // The recordings live as long as the process; each start begins with none.
        rec_.sound->Clear();
        rec_.shell->Clear();
        auto backend = gui::CreateBackend({.headless = true, .scale = Options.scale});
        hb_ = backend->GetAutomation();
        hb_->SetColorDepth(colorDepth);
        hb_->SetScreenSize(screenWidth, screenHeight);
        // Unsmoothed text, so that glyph pixels have the text's colour exactly: the application
        // takes this from the desktop's settings when it is built.
        hb_->MutableSettings()->fontSmoothing = false;
        gfx::SetFontSmoothing(false);
        const bool ok = start_->CreateWindows(std::move(backend));
        if (ok && show) {
            Main()->Show();
            hb_->SetTarget(Main()->Handle());
            hb_->Pump();
        }
        return ok;
    }

    TMainForm* Main() const { return start_ ? start_->Main() : nullptr; }
    gui::TApplication* App() const { return start_ ? start_->App() : nullptr; }
    gui::Automation& Backend() const { return *hb_; }
    platform::RecordingSound& Sound() const { return *rec_.sound; }
    platform::RecordingShell& Shell() const { return *rec_.shell; }
    bool Acquired() const { return acquired_; }

    template <class T = gui::TControl>
    T* Find(const std::string& name) const {
        return dynamic_cast<T*>(Main()->FindComponent(name));
    }
    // The centre of a control in the main window's client coordinates.
    static gfx::TPoint Centre(const gui::TControl* c) {
        return c->ClientToForm({c->Width() / 2, c->Height() / 2});
    }
    void Click(const gui::TControl* c) {
        const gfx::TPoint p = Centre(c);
        hb_->SetTarget(Main()->Handle());
        hb_->Click(p.X, p.Y);
    }
    void Click(const std::string& name) { Click(Find(name)); }
    void Press(const gui::TControl* c) {
        const gfx::TPoint p = Centre(c);
        hb_->SetTarget(Main()->Handle());
        hb_->MouseDown(p.X, p.Y);
        hb_->MouseUp(p.X, p.Y);
    }

    // The menu sound slot of the last sound played, -1 when none (or not one of the slots).
    int LastSoundSlot() const {
        const platform::SoundCall* call = rec_.sound ? rec_.sound->LastPlayed() : nullptr;
        return call ? SlotOf(call->image) : -1;
    }
    int SlotOf(const uint8_t* image) const {
        if (!Main() || !Main()->Model().Resource() || !image) return -1;
        for (int i = 0; i < 7; ++i)
            if (Main()->Model().Resource()->SoundSlots[size_t(i)].data() == image) return i;
        return -1;
    }
    // Slots of every successful play since the last ClearSounds().
    std::vector<int> PlayedSlots() const {
        std::vector<int> slots;
        for (const platform::SoundCall& c : rec_.sound->Calls())
            if (c.kind == platform::SoundCall::kPlay && c.result) slots.push_back(SlotOf(c.image));
        return slots;
    }
    void ClearSounds() const { rec_.sound->Clear(); }

    // Saves the main window (or a form) as PNG into $CDMENU_SHOTS when set, else into the disc copy.
    std::string Screenshot(const std::string& name, gui::TForm* form = nullptr) const {
        const char* shots = getenv("CDMENU_SHOTS");
        std::string path = (shots && *shots ? std::string(shots) + "/" : dir_) + name;
        hb_->SavePng((form ? form : Main())->Handle(), path);
        return path;
    }
    std::int64_t Pixel(int x, int y) const { return hb_->PixelAt(Main()->Handle(), x, y); }

private:
    std::string dir_;
    std::unique_ptr<TProgramStart> start_;
    gui::Automation* hb_ = nullptr;
    platform::RecordingServices rec_{nullptr, nullptr};
    bool acquired_ = false;
};
