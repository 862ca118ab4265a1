#include "app/Start.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "app/Catalogue.h"
#include "app/MainForm.h"
#include "app/SelFolderForm.h"
#include "app/SuchenForm.h"
#include "app/VollbildForm.h"
#include "base/Cp1252.h"
#include "gfx/Font.h"
#include "gfx/FontEngine.h"
#include "gui/Application.h"
#include "gui/backend/Backend.h"
#include "platform/Services.h"
#include "platform/SingleInstance.h"

namespace {

std::optional<platform::AppPaths> gPaths;

// A few paths from the head of daten.txt; the disc root is where they exist. Reading the head only
// keeps a slow drive from reading a large catalogue twice at start.
std::vector<std::string> StoredPathsOf(const std::string& dataDir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path file = fs::path(dataDir) / "daten.txt";
    if (!fs::is_regular_file(file, ec)) {
        file.clear();
        for (const fs::directory_entry& e : fs::directory_iterator(dataDir, ec))
            if (platform::NativePath::SameName(e.path().filename().string(), "daten.txt")) file = e.path();
    }
    std::ifstream in(file, std::ios::binary);
    if (file.empty() || !in) return {};
    std::string head(64 * 1024, '\0');
    in.read(head.data(), std::streamsize(head.size()));
    head.resize(size_t(in.gcount()));
    return SampleStoredPaths(head, 8);
}

}  // namespace

const platform::AppPaths& ProgramPaths() {
    if (!gPaths) gPaths = platform::AppPaths::Resolve();
    return *gPaths;
}

std::string StartUsage() {
    return "usage: cdmenu [--data DIR] [--root DIR] [--headless] [--scale F] [--fonts DIR] [--script FILE] "
           "[--preview OUTDIR]\n";
}

namespace {

bool EnvironmentSwitch(const char* name) {
    const char* env = std::getenv(name);
    return env && *env && std::strcmp(env, "0") != 0;
}

// A decimal with a point whatever the locale: "1.5", "2", "0". Read by hand: the library's
// floating-point parser brings a static constructor that every start would run.
double ScaleOf(const std::string& v, const char* option) {
    long long mantissa = 0, divisor = 1;
    bool digits = false, point = false, ok = !v.empty() && v.size() <= 12;
    for (char c : v) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            mantissa = mantissa * 10 + (c - '0');
            if (point) divisor *= 10;
        } else {
            ok = false;
        }
    }
    const double f = ok ? double(mantissa) / double(divisor) : -1;  // one rounding: 1.25 is 1.25
    if (!ok || !digits || v.back() == '.' || !(f == 0 || (f >= 1 && f <= 8)))
        throw std::invalid_argument(std::string(option) +
                                    " needs 0 (the desktop's factor) or a factor from 1 to 8, such as 1.5");
    return f;
}

}  // namespace

TStartOptions ParseStartOptions(int argc, const char* const* argv) {
    TStartOptions o;
    o.headless = EnvironmentSwitch("CDMENU_HEADLESS");
    o.accelerated = EnvironmentSwitch("CDMENU_ACCELERATED");
    // The command line wins over the environment.
    if (const char* env = std::getenv("CDMENU_SCALE"); env && *env) o.scale = ScaleOf(env, "CDMENU_SCALE");
    auto value = [&](int& i, const std::string& option) -> std::string {
        const std::string arg = argv[i];
        if (arg.size() > option.size() && arg.compare(0, option.size() + 1, option + "=") == 0)
            return arg.substr(option.size() + 1);
        if (i + 1 >= argc) throw std::invalid_argument(option + " needs a value");
        return argv[++i];
    };
    auto is = [](const std::string& arg, const char* option) {
        return arg == option || arg.rfind(std::string(option) + "=", 0) == 0;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (is(arg, "--data")) {
            o.dataDir = value(i, "--data");
        } else if (is(arg, "--root")) {
            o.rootDir = value(i, "--root");
        } else if (arg == "--headless") {
            o.headless = true;
        } else if (is(arg, "--scale")) {
            o.scale = ScaleOf(value(i, "--scale"), "--scale");
        } else if (is(arg, "--fonts")) {
            o.fontsDir = value(i, "--fonts");
        } else if (is(arg, "--script")) {
            o.script = value(i, "--script");
        } else if (is(arg, "--preview")) {
            o.preview = value(i, "--preview");
            // Previews are rendered without a display.
            o.headless = true;
        } else if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else {
            throw std::invalid_argument("unknown option " + arg);
        }
    }
    // The menu makes the disc root its current folder: names given here mean the folder it was
    // started from.
    std::error_code ec;
    for (std::string* path : {&o.dataDir, &o.rootDir, &o.fontsDir, &o.script, &o.preview})
        if (!path->empty()) {
            const std::filesystem::path absolute = std::filesystem::absolute(*path, ec);
            if (!ec) *path = absolute.string();
        }
    o.launchFolder = std::filesystem::current_path(ec).string();
    return o;
}

TProgramStart::TProgramStart(TStartOptions options) : options_(std::move(options)) {}

TProgramStart::~TProgramStart() {
    // Forms go before the application object they belong to.
    app_.reset();
}

bool TProgramStart::AcquireInstance() {
    if (options_.headless) platform::UseRecordingServices();
    platform::SingleInstance* lock = platform::Services().singleInstance;
    // The lock is held until the process ends.
    return !lock || lock->Acquire(kInstanceName);
}

bool TProgramStart::CreateWindows(std::unique_ptr<gui::Backend> backend) {
    if (!options_.fontsDir.empty()) gfx::TFontEngine::Instance().UseOnlyFontFolder(options_.fontsDir);
    if (!backend) {
        gui::BackendOptions bo;
        bo.headless = options_.headless;
        bo.scale = options_.scale;
        bo.fitWidth = 640;  // the main window, the largest the menu shows
        bo.fitHeight = 480;
        bo.accelerated = options_.accelerated;
        backend = gui::CreateBackend(bo);
    }
    app_ = std::make_unique<gui::TApplication>(std::move(backend));
    app_->SetTitle(base::Cp("CD&DVD-Menü - powered by morvane.development"));

    platform::AppPathOptions po;
    po.programFile = options_.programFile;
    po.dataDir = options_.dataDir;
    po.rootDir = options_.rootDir;
    gPaths = platform::AppPaths::Resolve(po);
    // A given root needs no search: a slow drive is spared reading the catalogue's head.
    if (options_.rootDir.empty() && !gPaths->UsingSampleDisc())
        gPaths->FindDiscRoot(StoredPathsOf(gPaths->DataDir()));
    gPaths->EnterDiscRoot();
    platform::Services().paths = gPaths->Mapping();

    main_ = app_->CreateForm<TMainForm>();
    if (!main_->Initialised()) return false;
    main_->SetDialogs({app_->CreateForm<TSuchenForm>(), app_->CreateForm<TVollbildForm>(),
                       app_->CreateForm<TSelFolderForm>()});
    return true;
}

int TProgramStart::Run() {
    if (!app_) return 1;
    app_->Run();
    return 0;
}
