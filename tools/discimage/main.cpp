// discimage DISC OUT.iso [--label LABEL] [--force] [--dist DIR] [--no-web]
//
// Turns a disc folder into an ISO 9660 image with Joliet and Rock Ridge, ready to burn or to write to
// a stick: the menu programs from the build's dist/ folder (scripts/package.sh) go beside the data
// files at the root, with the autostart files; the menu's own preview checks the disc first, and a
// disc with problems is refused unless --force is given. xorriso writes the image (and shows its
// progress for long ones); the disc folder itself is not changed. The web edition (discweb, beside
// this program) goes onto every image as index.html and its folder at the root; a disc whose web
// edition fails is refused as well; --no-web leaves it out.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/MenuResource.h"
#include "tools/common/CommandLine.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

const char* const kUsage =
    "usage: discimage DISC OUT.iso [--label LABEL] [--force] [--dist DIR] [--no-web]\n";

// Runs a program with an argument vector (never through a shell); its exit code, -1 when it
// could not be started.
int Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool SameName(std::string a, std::string b) {
    for (char& c : a) c = char(std::toupper(static_cast<unsigned char>(c)));
    for (char& c : b) c = char(std::toupper(static_cast<unsigned char>(c)));
    return a == b;
}

// The entry of folder named name in any letter case; empty when there is none.
fs::path FindEntry(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec))
        if (SameName(e.path().filename().string(), name)) return e.path();
    return {};
}

// The build's dist/ folder: --dist, $CDMENU_DIST, beside this program, or the project's (this
// program lies in build/<type>/).
fs::path FindDist(const std::string& given) {
    if (!given.empty()) return given;
    if (const char* env = std::getenv("CDMENU_DIST"); env && *env) return env;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec).parent_path();
    for (const fs::path& candidate : {self / "dist", self / ".." / ".." / "dist"})
        if (fs::exists(candidate / "cdmenu", ec) || fs::exists(candidate / "cdmenu.exe", ec))
            return fs::weakly_canonical(candidate, ec);
    return {};
}

// An ISO 9660 volume id: upper-case letters, digits and "_", at most 32 characters.
std::string VolumeId(const std::string& text) {
    std::string id;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(c)));
        if (id.size() < 32) id += (std::isalnum(u) && u < 0x80) ? char(u) : '_';
    }
    return id.empty() ? "CDMENU" : id;
}

std::string DefaultLabel(const fs::path& disc, const fs::path& menuDat) {
    const std::string head = ReadText(menuDat).substr(0, 100);
    const std::string id = head.size() == 100 ? ParseProjectId(head) : std::string();
    return VolumeId(id.empty() ? disc.filename().string() : id);
}

// "=" and "\" are special in xorriso's graft points.
std::string GraftEscape(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '=' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> positional;
    std::string label, distGiven;
    bool force = false, webEdition = true;
    const auto ended = tools::ReadCommandLine(
        argc, argv, "discimage", kUsage, 2, positional, [&](const std::string& a, int& i) {
            if (a == "--force") {
                force = true;
            } else if (a == "--no-web") {
                webEdition = false;
            } else if ((a == "--label" || a == "--dist") && i + 1 < argc) {
                (a == "--label" ? label : distGiven) = argv[++i];
            } else {
                return false;
            }
            return true;
        });
    if (ended) return *ended;
    std::error_code ec;
    const fs::path disc = fs::weakly_canonical(positional[0], ec);
    const fs::path out = fs::weakly_canonical(positional[1], ec);
    const fs::path menuDat = FindEntry(disc, "Menue.dat");
    if (!fs::is_directory(disc, ec) || menuDat.empty()) {
        std::cerr << "discimage: " << disc.string() << " is no disc folder: Menue.dat must lie at its root\n";
        return 1;
    }
    const std::string rel = fs::relative(out, disc, ec).string();
    if (!ec && rel.rfind("..", 0) != 0) {
        std::cerr << "discimage: the image must not lie inside the disc folder\n";
        return 1;
    }
    const fs::path dist = FindDist(distGiven);
    if (dist.empty() || !fs::exists(dist / "cdmenu", ec)) {
        std::cerr << "discimage: no menu programs found; build them with ./scripts/package.sh (or give "
                     "--dist DIR)\n";
        return 1;
    }
    if (label.empty()) label = DefaultLabel(disc, menuDat);
    label = VolumeId(label);

    // The menu's own checks, run by the program that goes onto the disc.
    char tmpl[] = "/tmp/discimage-XXXXXX";
    if (!mkdtemp(tmpl)) {
        std::cerr << "discimage: cannot make a temporary folder\n";
        return 1;
    }
    const fs::path work = tmpl;
    std::cout << "discimage: checking " << disc.string() << " with the menu's preview" << std::endl;
    const int checked = Run({(dist / "cdmenu").string(), "--headless", "--data", disc.string(), "--root",
                             disc.string(), "--preview", (work / "preview").string()});
    if (checked != 0) {
        const std::string report = ReadText(work / "preview" / "report.txt");
        std::cerr << (report.empty() ? "discimage: the preview did not run\n" : report);
        if (!force) {
            std::cerr << "discimage: the disc has problems (above); fix them, or give --force to write the "
                         "image anyway\n";
            fs::remove_all(work, ec);
            return 1;
        }
        std::cerr << "discimage: writing the image anyway (--force)\n";
    }

    // The web edition, written beside the image's other files: its links are relative to the root.
    if (webEdition) {
        const fs::path discweb = fs::read_symlink("/proc/self/exe", ec).parent_path() / "discweb";
        std::cout << "discimage: writing the web edition" << std::endl;
        const int web =
            fs::exists(discweb, ec) ? Run({discweb.string(), disc.string(), (work / "web").string()}) : -1;
        if (web != 0) {
            std::cerr << (web < 0
                              ? "discimage: discweb not found beside discimage; build it, or give --no-web\n"
                              : "discimage: the web edition has problems (above)\n");
            if (!force || !fs::exists(work / "web" / "index.html", ec)) {
                std::cerr << "discimage: fix them, or give --force to write the image anyway (--no-web: "
                             "without the web edition)\n";
                fs::remove_all(work, ec);
                return 1;
            }
            std::cerr << "discimage: writing the image anyway (--force)\n";
        }
    }

    // The programs and autostart files of the build replace any of the same name on the disc.
    std::vector<std::string> supplied;
    for (const char* name :
         {"cdmenu", "libunpack32.so", "lib", "fonts", "autorun.sh", "cdmenu.exe", "UNPACK32.DLL"})
        if (fs::exists(dist / name, ec)) supplied.push_back(name);
    if (fs::exists(dist / "cdmenu.exe", ec)) {
        std::ofstream inf(work / "autorun.inf", std::ios::binary);
        inf << "[autorun]\r\nopen=cdmenu.exe\r\nicon=cdmenu.exe,0\r\nlabel=" << label << "\r\n";
    }
    std::set<std::string> replaced(supplied.begin(), supplied.end());
    replaced.insert("autorun.inf");
    if (webEdition) {
        replaced.insert("index.html");
        replaced.insert("cdweb");
    }
    std::vector<std::string> args = {"xorriso", "-as", "mkisofs",        "-o",    out.string(),
                                     "-V",      label, "-input-charset", "utf-8", "-iso-level",
                                     "3",       "-J",  "-joliet-long",   "-r",    "-graft-points"};
    for (const fs::directory_entry& e : fs::directory_iterator(disc, ec)) {
        const std::string name = e.path().filename().string();
        bool ours = false;
        // In any letter case: Joliet and ISO 9660 names would clash otherwise.
        for (const std::string& r : replaced) ours = ours || SameName(r, name);
        if (!ours)
            args.push_back("/" + GraftEscape(name) + "=" + GraftEscape(e.path().string()));
        else
            std::cerr << "discimage: the disc's own " << name << " is replaced by the build's\n";
    }
    for (const std::string& name : supplied)
        args.push_back("/" + name + "=" + GraftEscape((dist / name).string()));
    if (fs::exists(work / "autorun.inf", ec))
        args.push_back("/autorun.inf=" + GraftEscape((work / "autorun.inf").string()));
    if (webEdition)
        for (const char* name : {"index.html", "cdweb"})
            args.push_back(std::string("/") + name + "=" + GraftEscape((work / "web" / name).string()));

    std::cout << "discimage: writing " << out.string() << " (volume " << label << ")" << std::endl;
    fs::remove(out, ec);
    const int written = Run(args);
    fs::remove_all(work, ec);
    if (written != 0) {
        std::cerr << "discimage: xorriso failed" << (written < 0 ? " to start (is it installed?)" : "")
                  << "\n";
        return 1;
    }
    std::cout << "discimage: " << out.string() << ": " << fs::file_size(out, ec) << " bytes\n";
    return 0;
}
