#include "app/Preview.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

#include "app/BannerStrip.h"
#include "app/Catalogue.h"
#include "app/CategoryColumn.h"
#include "app/DiscLint.h"
#include "app/MainForm.h"
#include "app/MenuModel.h"
#include "app/MenuResourceCheck.h"
#include "app/ProgramListPanel.h"
#include "app/ProgramPageView.h"
#include "app/SkinFiles.h"
#include "app/Start.h"
#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "base/Paths.h"
#include "base/StrUtils.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatListBox.h"
#include "gfx/Bitmap.h"
#include "gfx/JpegCodec.h"
#include "gfx/PngCodec.h"
#include "gfx/Thumbnail.h"
#include "gui/Application.h"
#include "gui/backend/Automation.h"
#include "platform/Services.h"
#include "skin/SkinButton.h"

namespace fs = std::filesystem;

namespace {

std::string Utf8(const std::string& cp1252) {
    return base::Cp1252ToUtf8(cp1252);
}

std::string Quoted(const std::string& cp1252) {
    return "\"" + Utf8(cp1252) + "\"";
}

std::string Number(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

bool DecodableJpeg(const std::vector<uint8_t>& bytes) {
    if (!gfx::IsJpeg(bytes.data(), bytes.size())) return false;
    try {
        gfx::TBitmap probe;
        // The thumbnail decodes the picture; an eighth is enough to know that it can.
        gfx::DecodeJpeg(bytes.data(), bytes.size(), probe, 8);
        return probe.Width() > 0 && probe.Height() > 0;
    } catch (...) {
        return false;
    }
}

}  // namespace

bool WritePng(const gfx::TBitmap& bitmap, const std::filesystem::path& file) {
    try {
        const std::vector<uint8_t> bytes = gfx::EncodePng(bitmap);
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return bool(out);
    } catch (...) {
        return false;
    }
}

std::string SanitiseFileName(const std::string& cp1252) {
    std::string out;
    for (unsigned char c : cp1252) {
        if (c < 0x20 || c == 0x7F || std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos)
            out += '_';
        else
            out += char(c);
    }
    // No leading or trailing blanks and dots (hidden files, names some systems refuse).
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
    size_t lead = 0;
    while (lead < out.size() && (out[lead] == ' ' || out[lead] == '.')) ++lead;
    out.erase(0, lead);
    if (out.size() > 80) out.resize(80);
    if (out.empty()) out = "_";
    return Utf8(out);
}

TPreview::TPreview(gui::TApplication& app, TMainForm& main) : app_(app), main_(main), model_(main.Model()) {}

void TPreview::Problem(const std::string& where, const std::string& what) {
    problems_.push_back(where.empty() ? what : where + ": " + what);
}

void TPreview::Note(const std::string& where, const std::string& what) {
    notes_.push_back(where + ": " + what);
}

void TPreview::Save(const std::string& name) {
    app_.ProcessMessages();
    const std::string file = name + ".png";
    // What was presented, else what was painted.
    const gfx::TBitmap* pixels = nullptr;
    if (gui::Automation* a = app_.TheBackend().GetAutomation()) pixels = a->WindowPixels(main_.Handle());
    if (!pixels) pixels = &main_.BackBuffer();
    // The name is UTF-8: said so, for systems whose narrow paths have another code page.
    if (WritePng(*pixels, fs::path(outDir_) / fs::path(std::u8string(file.begin(), file.end()))))
        pictures_.push_back(file);
    else
        Problem("", "could not write " + file);
}

bool TPreview::PathExists(const std::string& recordPath, std::string& shown) const {
    const std::string mapped = model_.MapToDiscRoot(recordPath);
    shown = TMenuModel::ShownFile(mapped);
    if (mapped.empty()) return true;
    std::error_code ec;
    return fs::exists(TMenuModel::NativeFile(mapped), ec);
}

bool TPreview::Render(const std::string& outDir) {
    outDir_ = outDir;
    std::error_code ec;
    fs::create_directories(outDir_, ec);
    if (!fs::is_directory(outDir_, ec)) {
        error_ = "cannot create the folder " + outDir_;
        return false;
    }
    CheckCatalogue();
    RenderPages();
    WriteReport();
    return error_.empty();
}

// ---- what a reader would stumble over --------------------------------------------------------------

namespace {

const char* EncodingName(TDataEncoding e) {
    switch (e) {
        case TDataEncoding::Utf8:
            return "UTF-8, converted to Windows-1252";
        case TDataEncoding::Utf8WithBom:
            return "UTF-8 with byte-order mark, converted to Windows-1252";
        case TDataEncoding::Cp1252:
            break;
    }
    return "Windows-1252";
}

}  // namespace

bool TPreview::LoadDataFile(const std::string& name, TCatalogue& catalogue) {
    const std::string file = model_.DataFile(name);
    try {
        catalogue = TCatalogue::LoadFromFile(file);
    } catch (const std::exception& e) {
        Problem(name, e.what());
        return false;
    }
    encodings_.push_back(name + ": " + EncodingName(catalogue.Encoding()));
    if (catalogue.Encoding() != TDataEncoding::Cp1252) {
        std::vector<uint8_t> bytes;
        gfx::ReadWholeFile(file, bytes);
        for (const TLintFinding& f : CheckDataFileCharacters(
                 name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
            Problem(f.Where, f.What);
    }
    return true;
}

void TPreview::CheckCatalogue() {
    TCatalogue progname, daten;
    if (!LoadDataFile("progname.txt", progname) || !LoadDataFile("daten.txt", daten)) return;
    CheckDiscFiles(progname, daten);
    const std::vector<std::string> categories = ReadCategoryList(progname);
    if (categories.empty()) Problem("progname.txt", "no categories");
    std::set<std::string> checked;
    for (const std::string& category : categories) {
        // A name that occurs twice shows the same list twice: check it once.
        if (!checked.insert(category).second) continue;
        const std::vector<std::string> programs = ReadCategoryPrograms(progname, category);
        const std::string where = Utf8(category);
        if (programs.empty()) {
            Problem(where, "category without programs");
            continue;
        }
        for (const std::string& program : programs) {
            const std::string at = where + " / " + Utf8(program);
            std::optional<TProgramRecord> record;
            try {
                record = FindProgramRecord(daten, program, category, false);
            } catch (const std::exception& e) {
                Problem(at, std::string("record cut off at the end of daten.txt (") + e.what() + ")");
                continue;
            }
            if (!record) {
                Problem(at, "record not found in daten.txt under \"Kategorie:" + Utf8(category) + "\"");
                continue;
            }
            for (size_t i = 0; i < record->Facts.size(); ++i) {
                const std::string value = base::Trim(record->Facts[i]);
                auto [shown, shortened] = MenuModel::ShortenFactValue(value);
                if (shortened)
                    Note(at, std::string(kFactKeys[i]) + " shortened to " + Quoted(shown) + " (" +
                                 std::to_string(value.size()) + " characters; 24 fit)");
            }
            std::string mapped;
            if (model_.MapToDiscRoot(record->Screenshot).empty()) {
                Note(at, "no screenshot given: the page shows none");
            } else if (!PathExists(record->Screenshot, mapped)) {
                Problem(at, "screenshot missing: " + Quoted(mapped));
            } else {
                std::vector<uint8_t> bytes;
                if (!gfx::ReadWholeFile(TMenuModel::NativeFile(model_.MapToDiscRoot(record->Screenshot)),
                                        bytes) ||
                    !DecodableJpeg(bytes))
                    Problem(at, "screenshot is not a JPEG picture: " + Quoted(mapped));
            }
            // The page treats 4 characters or fewer as no path at all.
            if (model_.MapToDiscRoot(record->Install).size() > 4) {
                if (!PathExists(record->Install, mapped))
                    Problem(at, "install path does not exist on the disc: " + Quoted(mapped));
                else
                    CheckProgramFile(at, record->Install, true);
            }
            if (model_.MapToDiscRoot(record->Start).size() > 4) {
                if (!PathExists(record->Start, mapped))
                    Problem(at, "start path does not exist on the disc: " + Quoted(mapped));
                else
                    CheckProgramFile(at, record->Start, false);
            }
            for (const std::string& line : record->Description) {
                if (line.find("Programm:") != std::string::npos ||
                    line.find("Kategorie:") != std::string::npos) {
                    Problem(at, "description runs into the next record (" + Quoted(base::Trim(line)) +
                                    "); an empty description needs one line of its own before the "
                                    "empty separator line");
                    break;
                }
            }
        }
    }
}

void TPreview::CheckDiscFiles(const TCatalogue& progname, const TCatalogue& daten) {
    for (const TLintFinding& f : CheckCp1252Text("progname.txt", progname.Bytes())) Problem(f.Where, f.What);
    for (const TLintFinding& f : CheckCp1252Text("daten.txt", daten.Bytes())) Problem(f.Where, f.What);
    for (const TLintFinding& f : CheckCategoryHeaders(progname)) Problem(f.Where, f.What);
    for (const TLintFinding& f : CheckDuplicateRecords(daten)) Problem(f.Where, f.What);
    std::vector<uint8_t> menu;
    if (gfx::ReadWholeFile(TMenuModel::NativeFile(model_.DataFile("Menue.dat")), menu))
        for (const std::string& p :
             CheckMenuResourceFile(std::string_view(reinterpret_cast<const char*>(menu.data()), menu.size())))
            Problem("Menue.dat", p + " (menudat list shows the details)");
    for (const TSkinFinding& f : CheckSkinFolder(SkinFolderOf(ProgramPaths().DataDir()))) {
        if (f.Problem)
            Problem("skin/" + f.File, f.What);
        else
            Note("skin/" + f.File, f.What);
    }
}

void TPreview::CheckProgramFile(const std::string& at, const std::string& recordPath, bool install) {
    const std::string mapped = model_.MapToDiscRoot(recordPath);
    const std::string native = TMenuModel::NativeFile(mapped);
    const std::string shown = Quoted(TMenuModel::ShownFile(mapped));
    if (install && base::UpperCase(base::ExtractFileExt(base::Trim(mapped))) == ".ZIP") {
        // Each archive once, however many records name it.
        if (!checkedArchives_.insert(native).second) return;
        // One message per problem found: the temporaries do not matter.
        // NOLINTBEGIN(performance-inefficient-string-concatenation)
        for (const std::string& f : CheckInstallArchive(base::Trim(mapped), native))
            Problem(at, "install archive " + shown + ": " + f);
        // NOLINTEND(performance-inefficient-string-concatenation)
        return;
    }
    const std::string what = CheckExecutable(native);
    if (!what.empty()) Problem(at, std::string(install ? "installer " : "start file ") + shown + " " + what);
}

// ---- the pictures ----------------------------------------------------------------------------------

void TPreview::RenderPages() {
    if (!main_.Visible()) main_.Show();
    // The banners draw their first frame from their animation timer: let it run once.
    if (gui::Automation* a = app_.TheBackend().GetAutomation()) a->Advance(50);
    RenderStartPages();
    TCategoryColumn& column = main_.Column();
    TProgramListPanel& list = main_.List();
    const std::vector<std::string>& categories = model_.Categories();
    const int count = int(categories.size());
    for (int c = 0; c < count; ++c) {
        // Page the column until the category has a button, as a reader would with the arrows.
        for (int guard = 0; guard < count && c < column.First(); ++guard) column.Scroll(-1);
        for (int guard = 0; guard < count && c >= column.First() + column.VisibleCount(); ++guard)
            column.Scroll(+1);
        const int k = c - column.First();
        if (k < 0 || k >= int(column.Buttons().size())) continue;
        const std::string category = categories[size_t(c)];
        const std::string base = Number(c + 1) + " " + SanitiseFileName(category);
        bool listed = true;
        try {
            main_.ShowCategory(c, category);
        } catch (const std::exception&) {
            // A category whose list cannot be read: the failure is in the report already.
            listed = false;
        }
        Save(base);
        if (listed) {
            for (int i = 0; i < list.Count(); ++i) {
                const std::string program = list.Entry(i);
                const std::string at = Utf8(category) + " / " + Utf8(program);
                try {
                    list.lbProgramme()->SetItemIndex(i);
                    main_.ShowProgramPage();
                } catch (const std::exception& e) {
                    Problem(at, std::string("the page fails: ") + e.what());
                }
                if (list.lbProgramme()->ItemShortened(i))
                    Note(at, "the name is too long for the program list: it ends there in \"…\"");
                flat::TFlatGroupBox* title = main_.Page().gbProgramm();
                if (title->Visible() && title->CaptionShortened())
                    Note(at, "the name is too long for the page title: it ends there in \"…\"");
                Save(base + " - " + Number(i + 1) + " " + SanitiseFileName(program));
            }
        }
        main_.bRubrikauswahlClick(&main_);
    }
    main_.bInfoClick(&main_);
    Save("Info");
    main_.InfoBeendenClick(&main_);
    app_.ProcessMessages();
}

void TPreview::RenderStartPages() {
    const std::vector<int> banners = main_.Banners().Rotating();
    if (banners.empty()) {
        Save("00 Startseite");
        return;
    }
    // One start page per banner of the rotation, each standing on the frame it holds longest (a
    // banner's first frame is often the empty start of its animation).
    for (size_t k = 0; k < banners.size(); ++k) {
        main_.Banners().ShowStill(banners[k]);
        Save(k == 0 ? std::string("00 Startseite")
                    : "00 Startseite - Banner " + std::to_string(banners[k] + 1));
    }
    // The other pages show the first one.
    main_.Banners().ShowStill(banners.front());
}

void TPreview::WriteReport() {
    std::ofstream out(fs::path(outDir_) / "report.txt", std::ios::binary);
    if (!out) {
        error_ = "cannot write " + (fs::path(outDir_) / "report.txt").string();
        return;
    }
    out << "cdmenu preview of " << TMenuModel::NativeFile(model_.DataDir()) << "\n";
    out << "disc root: " << platform::Services().paths.DiscRoot() << "\n";
    for (const std::string& e : encodings_) out << e << "\n";
    out << pictures_.size() << " pictures of the menu's pages\n\n";
    if (problems_.empty()) {
        out << "No problems found.\n";
    } else {
        out << problems_.size() << (problems_.size() == 1 ? " problem:\n" : " problems:\n");
        for (const std::string& p : problems_) out << "- " << p << "\n";
    }
    if (!notes_.empty()) {
        out << "\n"
            << notes_.size() << (notes_.size() == 1 ? " note" : " notes")
            << " (the page shows these as written; not counted as problems):\n";
        for (const std::string& n : notes_) out << "- " << n << "\n";
    }
}

int RunPreview(gui::TApplication& app, const std::string& outDir) {
    auto* main = dynamic_cast<TMainForm*>(app.MainForm());
    if (!main) {
        std::cerr << "cdmenu: --preview: the menu has no main window\n";
        return 1;
    }
    TPreview preview(app, *main);
    const bool written = preview.Render(outDir);
    if (!written) {
        std::cerr << "cdmenu: --preview: " << preview.Error() << "\n";
        return 1;
    }
    std::error_code ec;
    const std::string where = fs::absolute(outDir, ec).string();
    std::cout << "cdmenu: " << preview.Pictures().size() << " pages rendered to " << where << "\n";
    if (preview.Problems().empty()) {
        std::cout << "cdmenu: no problems found";
        if (!preview.Notes().empty()) std::cout << ", " << preview.Notes().size() << " notes";
        std::cout << " (" << where << "/report.txt)\n";
        return 0;
    }
    std::cout << "cdmenu: " << preview.Problems().size() << " problems listed in " << where
              << "/report.txt\n";
    return 1;
}
