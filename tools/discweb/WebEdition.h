#pragma once
// TWebEdition: a disc's collection as static pages that any browser shows from the disc (file://,
// no server, nothing from elsewhere) or from a website. It reads the disc through the menu's own
// code — the catalogue readers, the menu model and the menu resource reader — so that categories,
// programs, facts, paths and search results are the menu's.
//
// OUT/index.html is the start page; everything else lies in OUT/cdweb/: a page per category
// (k<C>.html) and per program of a category's list (k<C>-<P>.html, C and P counted from 1 in menu
// order), the search (suche.html with its data suche-daten.js), the info page, the stylesheet, the
// scripts, the logo, the banners and the small pictures of the screenshots (bilder/). The full
// pictures and the actions' files are the disc's own, linked relatively (or under --base-url).
#include <cstddef>
#include <map>
#include <string>
#include <vector>

struct TWebOptions {
    std::string disc;     // the disc folder: the data files at its root, the stored paths below it
    std::string out;      // where index.html and cdweb/ go
    std::string baseUrl;  // the disc's files under this address instead of relative links
};

class TWebEdition {
public:
    explicit TWebEdition(TWebOptions options);

    // False when the data cannot be read or the pages cannot be written (Error() says why).
    bool Write();

    const std::string& Error() const { return error_; }
    // What a reader of the pages would miss, one line each (UTF-8), as the preview words it.
    const std::vector<std::string>& Problems() const { return problems_; }
    // What the pages show differently from the disc, without loss (a picture converted for browsers).
    const std::vector<std::string>& Notes() const { return notes_; }
    size_t Pages() const { return pages_; }

    // The folder beside index.html.
    static constexpr const char* kFolder = "cdweb";

private:
    struct Thumb {
        bool ok = false;
        std::string url, fullUrl;  // relative to cdweb/
        int width = 0, height = 0;
        bool reduced = false;  // made smaller than the disc's picture
    };
    struct Shown;

    void Problem(const std::string& where, const std::string& what);
    bool WriteFile(const std::string& relative, const std::string& content);
    std::string NativeOf(const std::string& appPath) const;
    // The URL of a file or folder of the disc as a page in cdweb/ links it; "" when it does not exist
    // or lies outside the disc.
    std::string DiscUrl(const std::string& appPath, bool folder = false) const;
    const Thumb& Picture(const std::string& appPath, const std::string& where);

    // A whole page: head, main, foot, then what lies over the page (the full-screen picture).
    bool WritePage(const std::string& relative, const std::string& title, bool atRoot, const char* current,
                   const std::string& main, const std::string& overlay = {});
    std::string PageHead(const std::string& title, bool atRoot, const char* current) const;
    std::string PageFoot(bool atRoot) const;

    TWebOptions options_;
    std::string root_;  // native, with trailing '/'
    std::string error_;
    std::vector<std::string> problems_, notes_;
    std::map<std::string, Thumb> thumbs_;
    std::string banners_, footer_;
    std::string logoAlt_;
    bool hasLogo_ = false;
    size_t pages_ = 0;
};
