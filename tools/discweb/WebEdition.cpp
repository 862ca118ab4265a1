#include "tools/discweb/WebEdition.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>

#include "app/Catalogue.h"
#include "app/DiscBuild.h"
#include "app/DiscLint.h"
#include "app/MenuModel.h"
#include "app/MenuResource.h"
#include "app/MenuResourceCheck.h"
#include "app/RecordIndex.h"
#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "base/Paths.h"
#include "base/StrUtils.h"
#include "gfx/Bitmap.h"
#include "gfx/JpegCodec.h"
#include "gfx/PngCodec.h"
#include "gfx/Thumbnail.h"
#include "media/GIFDecoder.h"
#include "media/GIFFrame.h"
#include "platform/NativePath.h"
#include "tools/discweb/Assets.h"
#include "tools/discweb/Html.h"

namespace fs = std::filesystem;
using web::Text;

namespace {

// The disc's drive as the menu model writes it; NativePath puts it onto the disc folder.
const std::string kDiscRoot = platform::NativePath::WinDiscRoot();
// The small picture's frame: the menu's 261 by 196 at one and a half times, sharp enough on dense
// screens at a fraction of the bytes of the full pictures.
constexpr int kThumbWidth = 392, kThumbHeight = 294;
constexpr size_t kNoRecord = std::string_view::npos;

std::string Utf8(std::string_view cp1252) {
    return base::Cp1252ToUtf8(cp1252);
}

std::string Quoted(std::string_view cp1252) {
    return "\"" + Utf8(cp1252) + "\"";
}

// A JPEG whose coding browsers show: baseline, extended or progressive Huffman (SOF0-SOF2). The
// decoder also reads arithmetic-coded ones, which browsers do not.
bool BrowserJpeg(const std::vector<uint8_t>& b) {
    for (size_t i = 2; i + 4 <= b.size();) {
        if (b[i] != 0xFF) return false;
        const uint8_t marker = b[i + 1];
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return marker <= 0xC2;
        i += 2 + (size_t(b[i + 2]) << 8 | b[i + 3]);
    }
    return false;
}

// How long one run of a banner's animation takes in a browser (delays of 10 ms or less count as
// 100 ms there); 20 s for a still one, as the menu's timer.
int BannerDuration(const std::vector<uint8_t>& gif) {
    media::TGIFDecoder decoder;
    try {
        if (!decoder.Decode(gif.data(), gif.size()) || decoder.FrameCount() < 2) return 20000;
    } catch (...) {
        return 20000;
    }
    int total = 0;
    for (const auto& frame : decoder.Frames) total += frame->Delay <= 10 ? 100 : frame->Delay;
    return std::max(total, 1000);
}

// The path above a page: "Rubrikauswahl" and, when given, the list the page belongs to (listName is
// HTML already).
std::string Crumbs(const std::string& listHref = {}, const std::string& listName = {}) {
    std::string c =
        "<nav class=\"pfad\" aria-label=\"Pfad\"><ol><li><a href=\"../index.html\">Rubrikauswahl</a></li>";
    if (!listHref.empty()) {
        c += "<li><a href=\"";
        c += listHref;
        c += "\">";
        c += listName;
        c += "</a></li>";
    }
    c += "</ol></nav>\n";
    return c;
}

std::string Join(const std::vector<std::string>& parts, std::string_view glue) {
    std::string out;
    for (const std::string& p : parts) {
        if (!out.empty()) out += glue;
        out += p;
    }
    return out;
}

}  // namespace

struct TWebEdition::Shown {
    std::string file;  // page file in cdweb/
    std::string name;  // the program as listed (cp1252)
    size_t record = kNoRecord;
};

TWebEdition::TWebEdition(TWebOptions options) : options_(std::move(options)) {
    while (options_.baseUrl.size() > 1 && options_.baseUrl.back() == '/') options_.baseUrl.pop_back();
}

void TWebEdition::Problem(const std::string& where, const std::string& what) {
    problems_.push_back(where.empty() ? what : where + ": " + what);
}

bool TWebEdition::WriteFile(const std::string& relative, const std::string& content) {
    const fs::path file = fs::path(options_.out) / fs::path(std::u8string(relative.begin(), relative.end()));
    std::ofstream out(file, std::ios::binary);
    out.write(content.data(), std::streamsize(content.size()));
    if (!out) {
        error_ = "cannot write " + file.string();
        return false;
    }
    if (relative.size() > 5 && relative.compare(relative.size() - 5, 5, ".html") == 0) ++pages_;
    return true;
}

std::string TWebEdition::NativeOf(const std::string& appPath) const {
    return platform::NativePath(root_).Resolve(appPath);
}

std::string TWebEdition::DiscUrl(const std::string& appPath, bool folder) const {
    const std::string native = NativeOf(appPath);
    std::error_code ec;
    if (native.compare(0, root_.size(), root_) != 0 || !fs::exists(native, ec)) return {};
    const std::string relative = fs::path(native.substr(root_.size())).lexically_normal().generic_string();
    if (relative.empty() || relative.rfind("..", 0) == 0) return {};
    std::string url = web::UrlPath(relative);
    if (folder && url.back() != '/') url += '/';
    return options_.baseUrl.empty() ? "../" + url : options_.baseUrl + "/" + url;
}

const TWebEdition::Thumb& TWebEdition::Picture(const std::string& appPath, const std::string& where) {
    const std::string native = NativeOf(appPath);
    auto [it, added] = thumbs_.try_emplace(native);
    Thumb& thumb = it->second;
    if (!added) return thumb;
    const std::string shown = "\"" + native.substr(std::min(native.size(), root_.size())) + "\"";
    std::vector<uint8_t> bytes;
    std::error_code ec;
    if (!fs::is_regular_file(native, ec) || !gfx::ReadWholeFile(native, bytes)) {
        Problem(where, "screenshot missing: " + shown + "; the page shows none");
        return thumb;
    }
    gfx::TThumbnail small;
    try {
        if (!gfx::IsJpeg(bytes.data(), bytes.size())) throw base::Exception("no JPEG");
        small = gfx::JpegThumbnail(bytes.data(), bytes.size(), kThumbWidth, kThumbHeight);
    } catch (const std::exception&) {
        Problem(where, "screenshot is not a JPEG picture: " + shown + "; the menu and the pages show none");
        return thumb;
    }
    const std::string name = "bilder/" + std::to_string(thumbs_.size()) + ".jpg";
    if (!WriteFile(std::string(kFolder) + "/" + name, [&] {
            const std::vector<uint8_t> jpeg = gfx::EncodeJpeg(small.picture, 75);
            return std::string(jpeg.begin(), jpeg.end());
        }()))
        return thumb;
    thumb.url = name;
    // Made for a frame 1.5 times the menu's: shown at the menu's size when it was reduced.
    thumb.reduced = small.fitted;
    thumb.width = small.fitted ? small.picture.Width() * 2 / 3 : small.picture.Width();
    thumb.height = small.fitted ? small.picture.Height() * 2 / 3 : small.picture.Height();
    if (BrowserJpeg(bytes)) {
        thumb.fullUrl = DiscUrl(appPath);
    } else {
        // Arithmetic or lossless coding: the menu decodes it, browsers do not, so the page links a copy.
        try {
            gfx::TBitmap full;
            gfx::DecodeJpeg(bytes.data(), bytes.size(), full);
            const std::vector<uint8_t> jpeg = gfx::EncodeJpeg(full, 90);
            const std::string copy = "bilder/" + std::to_string(thumbs_.size()) + "-voll.jpg";
            if (!WriteFile(std::string(kFolder) + "/" + copy, std::string(jpeg.begin(), jpeg.end())))
                return thumb;
            thumb.fullUrl = copy;
            notes_.push_back(where + ": screenshot " + shown +
                             " is coded in a way browsers cannot show; the pages link a converted copy");
        } catch (const std::exception&) {
            thumb.fullUrl.clear();
        }
    }
    thumb.ok = true;
    return thumb;
}

std::string TWebEdition::PageHead(const std::string& title, bool atRoot, const char* current) const {
    const std::string in = atRoot ? std::string(kFolder) + "/" : "";
    const std::string home = atRoot ? "index.html" : "../index.html";
    auto nav = [&](const std::string& href, const char* label, const char* id) {
        const bool here = current && std::string_view(current) == id;
        return "<li><a href=\"" + href + "\"" + (here ? " aria-current=\"page\"" : "") + ">" + label +
               "</a></li>";
    };
    std::string h;
    h += "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n";
    h += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    h += "<title>" + title + " – CD&amp;DVD-Menü</title>\n";
    h += "<link rel=\"stylesheet\" href=\"" + in + "style.css\">\n";
    h += "<script src=\"" + in + "menu.js\" defer></script>\n</head>\n<body>\n";
    h += "<a class=\"sprung\" href=\"#inhalt\">Zum Inhalt</a>\n";
    h += "<header class=\"kopf\"><div class=\"kopf-innen\">\n";
    if (hasLogo_)
        h += "<a class=\"logo\" href=\"" + home + "\"><img src=\"" + in + "logo.png\" alt=\"" + logoAlt_ +
             "\"></a>\n";
    h += "<nav class=\"kopf-nav\" aria-label=\"Menü\"><ul>" + nav(home, "Rubrikauswahl", "start") +
         nav(in + "suche.html", "Suche", "suche") + nav(in + "info.html", "Info", "info") + "</ul></nav>\n";
    if (!current || std::string_view(current) != "suche")
        h += "<form class=\"suchfeld\" role=\"search\" action=\"" + in +
             "suche.html\"><label for=\"kopf-begriff\">Suchbegriff:</label>"
             "<input type=\"search\" id=\"kopf-begriff\" name=\"q\"><button "
             "type=\"submit\">Suchen</button></form>\n";
    h += "</div></header>\n<div class=\"seite\">\n<main id=\"inhalt\">\n";
    return h;
}

bool TWebEdition::WritePage(const std::string& relative, const std::string& title, bool atRoot,
                            const char* current, const std::string& main, const std::string& overlay) {
    std::string page = PageHead(title, atRoot, current);
    page += main;
    page += PageFoot(atRoot);
    page += overlay;
    page += "</body>\n</html>\n";
    return WriteFile(relative, page);
}

std::string TWebEdition::PageFoot(bool atRoot) const {
    std::string f = "</main>\n";
    if (!banners_.empty()) {
        std::string b = banners_;
        if (atRoot) {
            for (size_t at = b.find("src=\"banner"); at != std::string::npos;
                 at = b.find("src=\"banner", at + 1))
                b.insert(at + 5, std::string(kFolder) + "/");
        }
        f += "<aside class=\"rand\" aria-label=\"Anzeigen\">\n" + b + "</aside>\n";
    }
    f += "</div>\n<footer>" + footer_ + "</footer>\n";
    return f;
}

bool TWebEdition::Write() {
    std::error_code ec;
    root_ = fs::absolute(options_.disc, ec).lexically_normal().string();
    if (root_.empty() || root_.back() != '/') root_ += '/';
    if (!fs::is_directory(root_, ec)) {
        error_ = options_.disc + " is no folder";
        return false;
    }

    // The data, read as the menu reads it; without it there is nothing to show.
    TCatalogue progname, daten;
    std::optional<TMenuResource> menu;
    try {
        progname = TCatalogue::LoadFromFile(NativeOf(kDiscRoot + "progname.txt"));
        daten = TCatalogue::LoadFromFile(NativeOf(kDiscRoot + "daten.txt"));
        menu = LoadMenuResourceFile(NativeOf(kDiscRoot + "Menue.dat"));
    } catch (const std::exception& e) {
        error_ = "the disc's data cannot be read: " + Utf8(e.what());
        return false;
    }
    for (const TLintFinding& f : CheckCp1252Text("progname.txt", progname.Bytes())) Problem(f.Where, f.What);
    for (const TLintFinding& f : CheckCp1252Text("daten.txt", daten.Bytes())) Problem(f.Where, f.What);
    for (const TLintFinding& f : CheckCategoryHeaders(progname)) Problem(f.Where, f.What);
    for (const TLintFinding& f : CheckDuplicateRecords(daten)) Problem(f.Where, f.What);

    const fs::path folder = fs::path(options_.out) / kFolder;
    fs::remove_all(folder, ec);  // pages of an earlier run must not linger
    fs::create_directories(folder / "bilder", ec);
    if (!fs::is_directory(folder / "bilder", ec)) {
        error_ = "cannot create the folder " + (folder / "bilder").string();
        return false;
    }
    for (size_t i = 0; i < kWebAssetCount; ++i)
        if (!WriteFile(std::string(kFolder) + "/" + kWebAssets[i].name, std::string(kWebAssets[i].bytes)))
            return false;

    // Logo, banners and the info page's texts from Menue.dat.
    logoAlt_ = "Startseite";
    if (menu->LogoBitmap) {
        const std::vector<uint8_t> png = gfx::EncodePng(*menu->LogoBitmap);
        hasLogo_ = WriteFile(std::string(kFolder) + "/logo.png", std::string(png.begin(), png.end()));
        if (!hasLogo_) return false;
    }
    const int bannerCount = MenuModel::BannerCount(menu->BannerLinks);
    std::string items;
    for (int i = 0; i < bannerCount; ++i) {
        const std::vector<uint8_t>& gif = menu->Banners[size_t(i)];
        // The banners the menu leaves out (no GIF picture, or one that does not decode).
        if (!BannerPictureFault(std::string_view(reinterpret_cast<const char*>(gif.data()), gif.size()))
                 .empty())
            continue;
        const std::string file = "banner" + std::to_string(i + 1) + ".gif";
        if (!WriteFile(std::string(kFolder) + "/" + file, std::string(gif.begin(), gif.end()))) return false;
        const std::string target(FieldText(menu->Header.BannerTargets[size_t(i)]));
        const std::string alt = "Anzeige" + (target.empty() ? std::string() : ": " + Text(target));
        const bool first = items.empty();  // it shows without the script too
        items += "<a href=\"" + Text(menu->BannerUrl(i)) + "\" data-dauer=\"" +
                 std::to_string(BannerDuration(gif));
        items += first ? "\"" : "\" hidden";
        items += "><img src=\"" + file;
        items += "\" width=\"170\" height=\"70\" alt=\"" + alt;
        items += "\"></a>\n";
    }
    if (!items.empty())
        banners_ = "<div class=\"banner\">\n" + items +
                   "</div>\n<button type=\"button\" id=\"banner-pause\" aria-pressed=\"false\" hidden>"
                   "Bannerwechsel anhalten</button>\n";
    footer_ = Text(menu->Header.Credits[2]);

    // The categories and their lists, as the menu's column and list box show them.
    const TRecordIndex index(daten);
    const std::vector<std::string> categories = ReadCategoryList(progname);
    std::vector<std::vector<Shown>> lists(categories.size());
    std::unordered_map<size_t, std::string> pageOfRecord;  // the first page that shows a record
    for (size_t c = 0; c < categories.size(); ++c) {
        const std::vector<std::string> programs = ReadCategoryPrograms(progname, categories[c]);
        for (size_t p = 0; p < programs.size(); ++p) {
            Shown s;
            s.file = "k" + std::to_string(c + 1) + "-" + std::to_string(p + 1) + ".html";
            s.name = programs[p];
            try {
                s.record = index.Find(programs[p], categories[c], categories[c] == MenuModel::kSearchResults);
            } catch (const std::exception& e) {
                s.record = kNoRecord;
                Problem(Utf8(categories[c]) + " / " + Utf8(programs[p]),
                        std::string("record cut off at the end of daten.txt (") + Utf8(e.what()) + ")");
            }
            if (s.record != kNoRecord) pageOfRecord.try_emplace(s.record, s.file);
            lists[c].push_back(std::move(s));
        }
    }

    // A program page; list: its neighbours for "previous" and "next" (empty for a search result
    // that no list shows).
    auto programPage = [&](const Shown& s, const std::string& crumbs, const std::vector<Shown>* list,
                           size_t at, const std::string& where) -> std::pair<std::string, std::string> {
        std::string m = crumbs;
        m += "<article class=\"programm\">\n<header>\n<h1>" + Text(s.name) + "</h1>\n";
        if (list)
            m += "<p class=\"zaehler\">" + std::to_string(at + 1) + "/" + std::to_string(list->size()) +
                 "</p>\n";
        m += "</header>\n";
        std::optional<TProgramRecord> record;
        if (s.record != kNoRecord) {
            try {
                record = index.RecordAt(s.record);
            } catch (const std::exception& e) {
                Problem(where,
                        std::string("record cut off at the end of daten.txt (") + Utf8(e.what()) + ")");
            }
        }
        std::string full;
        if (!record) {
            m += "<p class=\"leer\">Zu diesem Programm gibt es keinen Eintrag in den Daten der "
                 "CD.</p>\n</article>\n";
            return {m, ""};
        }
        const MenuModel::TProgramPage page = MenuModel::ProgramPageOf(*record, kDiscRoot);
        const std::string alt = "Screenshot von " + Text(s.name);
        if (!page.ScreenshotPath.empty()) {
            const Thumb& t = Picture(page.ScreenshotPath, where);
            if (t.ok) {
                const std::string img = "<img src=\"" + t.url + "\"" + (t.reduced ? "" : " class=\"klein\"") +
                                        " width=\"" + std::to_string(t.width) + "\" height=\"" +
                                        std::to_string(t.height) + "\" alt=\"" + alt + "\">";
                m += "<figure class=\"bild\" id=\"bild\">\n";
                m += t.fullUrl.empty() ? img
                                       : "<a class=\"vorschau\" href=\"" + t.fullUrl + "\">" + img + "</a>";
                if (!t.fullUrl.empty()) {
                    m += "\n<figcaption><a href=\"#vollbild\">Vollbild-Screenshot</a></figcaption>";
                    full = t.fullUrl;
                }
                m += "\n</figure>\n";
            } else {
                m += "<p class=\"keinbild\" id=\"bild\">Kein Screenshot</p>\n";
            }
        } else {
            m += "<p class=\"keinbild\" id=\"bild\">Kein Screenshot</p>\n";
        }
        m += "<div class=\"angaben\">\n";
        if (!page.Facts.empty()) {
            m += "<dl class=\"fakten\">\n";
            for (const MenuModel::TPageFact& fact : page.Facts) {
                m += "<div><dt>" + Text(fact.Key) + "</dt><dd>";
                if (fact.IsHomepage)
                    m += "<a href=\"http://" + Text(fact.Value) + "\">" + Text(fact.Value) + "</a>";
                else
                    m += Text(fact.Value);
                m += "</dd></div>\n";
            }
            m += "</dl>\n";
        }
        if (page.FeaturesShown)
            m += "<p class=\"besonderheiten\"><strong>Besonderheiten:</strong> " +
                 Text(base::Trim(page.Features)) + "</p>\n";
        std::vector<std::string> actions;
        auto action = [&](const std::string& appPath, const std::string& caption, bool folder,
                          const char* kind) {
            if (appPath.empty()) return;
            const std::string url = DiscUrl(base::Trim(appPath), folder);
            if (url.empty()) {
                Problem(where, std::string(kind) + " path does not exist on the disc: " +
                                   Quoted(base::Trim(appPath)) + "; the page offers no link");
                return;
            }
            actions.push_back("<li><a class=\"knopf\" href=\"" + url + "\">" + caption + "</a></li>");
        };
        action(page.InstallPath, MenuModel::InstallCaption(page.Unpacks), false, "install");
        action(page.StartPath, "Starten", false, "start");
        if (page.CanCopy) {
            const std::string source = base::ExtractFilePath(base::Trim(page.CopySourcePath));
            const std::string url = DiscUrl(source, true);
            if (!url.empty())
                actions.push_back("<li><a class=\"knopf\" href=\"" + url + "\">Kopieren</a></li>");
        }
        if (!actions.empty())
            m += "<ul class=\"aktionen\" aria-label=\"Aktionen\">\n" + Join(actions, "\n") + "\n</ul>\n";
        m += "</div>\n";
        // One paragraph per line of the description; empty lines only separate them.
        std::string text;
        for (const std::string& line : page.Description)
            if (!base::Trim(line).empty()) text += "<p>" + Text(line) + "</p>\n";
        if (!text.empty())
            m += "<section class=\"beschreibung\" aria-label=\"Beschreibung\">\n" + text + "</section>\n";
        if (list && list->size() > 1) {
            m += "<nav class=\"blaettern\" aria-label=\"Blättern\">";
            if (at > 0)
                m += "<a href=\"" + (*list)[at - 1].file +
                     "\" rel=\"prev\">Vorheriges: " + Text((*list)[at - 1].name) + "</a>";
            else
                m += "<span></span>";
            if (at + 1 < list->size())
                m += "<a href=\"" + (*list)[at + 1].file +
                     "\" rel=\"next\">Nächstes: " + Text((*list)[at + 1].name) + "</a>";
            m += "</nav>\n";
        }
        m += "</article>\n";
        std::string overlay;
        if (!full.empty()) {
            // The menu's full-screen view: the picture at its size on black; next and previous follow
            // the list.
            std::string& o = overlay;
            o +=
                "<div id=\"vollbild\" class=\"vollbild\" role=\"dialog\" aria-label=\"Vollbild-Screenshot: " +
                Text(s.name) + "\">\n<div class=\"vollbild-bild\"><img src=\"" + full + "\" alt=\"" + alt +
                "\" loading=\"lazy\"></div>\n<nav aria-label=\"Vollbild\">";
            if (list && list->size() > 1) {
                o += "<a data-gehe=\"first\" href=\"" + list->front().file + "#vollbild\">Erstes</a>";
                if (at > 0)
                    o +=
                        "<a data-gehe=\"prev\" href=\"" + (*list)[at - 1].file + "#vollbild\">Vorheriges</a>";
            }
            o += "<a href=\"#bild\">Schließen</a>";
            if (list && list->size() > 1) {
                if (at + 1 < list->size())
                    o += "<a data-gehe=\"next\" href=\"" + (*list)[at + 1].file + "#vollbild\">Nächstes</a>";
                o += "<a data-gehe=\"last\" href=\"" + list->back().file + "#vollbild\">Letztes</a>";
            }
            o += "</nav>\n</div>\n";
        }
        return {m, overlay};
    };

    // Start page.
    {
        std::string m = "<h1>Kategorien</h1>\n<ul class=\"liste\" aria-label=\"Kategorien\">\n";
        for (size_t c = 0; c < categories.size(); ++c) {
            const size_t n = lists[c].size();
            m += "<li><a href=\"" + std::string(kFolder) + "/k" + std::to_string(c + 1) + ".html\">" +
                 Text(categories[c]) + "</a><span class=\"anzahl\">" +
                 (n == 0   ? std::string("keine Programme")
                  : n == 1 ? "1 Programm"
                           : std::to_string(n) + " Programme") +
                 "</span></li>\n";
        }
        m += "</ul>\n";
        if (categories.empty()) m += "<p class=\"leer\">Diese CD hat keine Kategorien.</p>\n";
        if (!WritePage("index.html", "Kategorien", true, "start", m)) return false;
    }

    // Category pages and the pages of their programs.
    for (size_t c = 0; c < categories.size(); ++c) {
        const std::string name = Text(categories[c]);
        const std::string cfile = "k" + std::to_string(c + 1) + ".html";
        std::string m = Crumbs();
        m += "<h1>" + name + "</h1>\n<ul class=\"liste\" aria-label=\"Programme\">\n";
        for (const Shown& s : lists[c]) m += "<li><a href=\"" + s.file + "\">" + Text(s.name) + "</a></li>\n";
        m += "</ul>\n";
        if (lists[c].empty()) m += "<p class=\"leer\">Diese Kategorie enthält keine Programme.</p>\n";
        if (!WritePage(std::string(kFolder) + "/" + cfile, name, false, nullptr, m)) return false;
        const std::string crumbs = Crumbs(cfile, name);
        for (size_t p = 0; p < lists[c].size(); ++p) {
            const Shown& s = lists[c][p];
            const std::string where = Utf8(categories[c]) + " / " + Utf8(s.name);
            if (s.record == kNoRecord)
                Problem(where,
                        "record not found in daten.txt under \"Kategorie:" + Utf8(categories[c]) + "\"");
            const auto [page, overlay] = programPage(s, crumbs, &lists[c], p, where);
            if (!WritePage(std::string(kFolder) + "/" + s.file, Text(s.name), false, nullptr, page, overlay))
                return false;
        }
    }

    // The search: what it looks at per record, the menu's order of the names, and the page each
    // result opens (the record a search result shows: FindProgramRecord over all categories).
    {
        const std::vector<TSearchableRecord> records = SearchableRecords(daten);
        std::vector<std::string> names;
        names.reserve(records.size());
        for (const TSearchableRecord& r : records) names.push_back(r.Name);
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        std::vector<std::string> order = names;
        std::stable_sort(order.begin(), order.end(), [](const std::string& a, const std::string& b) {
            return base::AnsiCompareText(a, b) < 0;
        });
        std::unordered_map<std::string, int> rank;
        int r = -1;
        for (size_t i = 0; i < order.size(); ++i) {
            if (i == 0 || base::AnsiCompareText(order[i - 1], order[i]) != 0) ++r;
            rank[order[i]] = r;
        }
        std::unordered_map<std::string, std::string> target;
        const std::string crumbs = Crumbs("suche.html", std::string(MenuModel::kSearchResults));
        size_t extra = 0;
        std::string n = "n:[", rk = "r:[", u = "u:[", t = "t:[";
        for (size_t i = 0; i < records.size(); ++i) {
            const TSearchableRecord& rec = records[i];
            auto found = target.find(rec.Name);
            if (found == target.end()) {
                size_t offset = kNoRecord;
                try {
                    offset = index.Find(rec.Name, MenuModel::kSearchResults, true);
                } catch (const std::exception&) {
                    offset = kNoRecord;  // reported with its category
                }
                std::string file;
                if (offset != kNoRecord && pageOfRecord.count(offset)) {
                    file = pageOfRecord[offset];
                } else {
                    Shown s;
                    s.file = "s" + std::to_string(++extra) + ".html";
                    s.name = rec.Name;
                    s.record = offset;
                    const auto [page, overlay] = programPage(s, crumbs, nullptr, 0, Utf8(rec.Name));
                    if (!WritePage(std::string(kFolder) + "/" + s.file, Text(s.name), false, nullptr, page,
                                   overlay))
                        return false;
                    file = s.file;
                }
                found = target.emplace(rec.Name, file).first;
            }
            const char* sep = i == 0 ? "" : ",";
            n += sep + web::JsonString(rec.Name);
            rk += sep + std::to_string(rank[rec.Name]);
            u += sep + web::JsonString(found->second);
            std::string joined;
            for (const std::string& v : rec.Values) {
                if (!joined.empty()) joined += '\n';
                joined += v;
            }
            t += sep + web::JsonBytes(joined);
        }
        const std::string data =
            "// The menu's search data: per record (lines starting \"Programm:  \", in file order) its\n"
            "// name, the rank of the name in the menu's order, the page it opens and the values the\n"
            "// search looks at, one per line, each Windows-1252 byte as the character of its "
            "number.\nwindow.CDWEB_SUCHE = {" +
            n + "],\n" + rk + "],\n" + u + "],\n" + t + "]};\n";
        if (!WriteFile(std::string(kFolder) + "/suche-daten.js", data)) return false;

        std::string m =
            "<h1>Suche</h1>\n<form id=\"suche\" class=\"suche-form\" role=\"search\" action=\"suche.html\">\n"
            "<div class=\"feld\"><label for=\"begriff\">Suchbegriff:</label>"
            "<input type=\"search\" id=\"begriff\" name=\"q\" autocomplete=\"off\" autofocus></div>\n"
            "<label><input type=\"checkbox\" id=\"gross\" name=\"gross\" value=\"1\"> Groß- und "
            "Kleinschreibung beachten</label>\n<button type=\"submit\">Suchen</button>\n</form>\n"
            "<noscript><p>Die Suche braucht JavaScript; die Kategorien auf der Startseite führen auch ohne "
            "zu "
            "jedem Programm.</p></noscript>\n"
            "<h2>Suchergebnisse</h2>\n<p id=\"status\" role=\"status\"></p>\n"
            "<ul id=\"ergebnisse\" class=\"liste\" aria-label=\"Suchergebnisse\"></ul>\n"
            "<script src=\"suche-daten.js\"></script>\n<script src=\"suche.js\"></script>\n";
        if (!WritePage(std::string(kFolder) + "/suche.html", "Suche", false, "suche", m)) return false;
    }

    // The info page: the credits of Menue.dat and the publisher's links.
    {
        const std::string mail(DiscBuild::kPublisherMail), site(DiscBuild::kPublisherWeb);
        std::string m = "<h1>Info</h1>\n<dl class=\"info\">\n";
        m += "<dt>Zusammenstellung</dt><dd>" + Text(menu->Header.Credits[0]) + "</dd>\n";
        m += "<dt>Redaktionsassistenz</dt><dd>" + Text(menu->Header.Credits[1]) + "</dd>\n";
        m += "<dt>Programmierung</dt><dd>morvane.development</dd>\n";
        m += "<dt>E-Mail</dt><dd><a href=\"mailto:" + Text(mail) + "\">" + Text(mail) + "</a></dd>\n";
        m += "<dt>Internet</dt><dd><a href=\"http://" + Text(site) + "\">" + Text(site) + "</a></dd>\n";
        m += "</dl>\n<p>" + Text(menu->Header.Credits[2]) + "</p>\n";
        if (!WritePage(std::string(kFolder) + "/info.html", "Info", false, "info", m)) return false;
    }
    return true;
}
