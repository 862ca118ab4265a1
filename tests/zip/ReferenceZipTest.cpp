// Our listing and unpack library against the reference tools on the same files: archives written at
// test time by Info-ZIP's zip (deflate, store, split sets, Zip64, data descriptors from a pipe,
// encrypted entries), by bsdtar and by Python's zipfile, listed and extracted by us, by unzip and by
// bsdtar. Names, sizes, CRCs, methods and the extracted bytes must agree; encrypted entries are
// refused by all three.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>

#include "base/Cp1252.h"
#include "tests/zip/ZipTestSupport.h"

namespace ziptest {
namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// One entry as a lister shows it; the name in UTF-8 with '/' separators.
struct TListed {
    std::string name;
    uint64_t size = 0, packed = 0;
    uint32_t crc = 0;
    std::string method;  // "Stored" or "Defl"
    bool operator==(const TListed&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TListed& e) {
    return os << e.name << " " << e.size << "/" << e.packed << " crc " << std::hex << e.crc << std::dec << " "
              << e.method;
}

// How an archive is to be checked: the file we read and the single-file archive the tools read
// (they differ only for split sets, which unzip and bsdtar cannot read).
struct TCase {
    std::string what;
    std::string ours;
    std::string theirs;
    bool encrypted = false;
};

class Reference : public ZipTest {
protected:
    // Runs a shell command in the scratch folder with a UTF-8 locale and no input; its exit code.
    int Run(const std::string& command, std::string* output = nullptr) {
        std::string out = Path("run.out");
        std::string line = "cd " + Quote(dir_.string()) + " && (export LC_ALL=C.UTF-8; " + command +
                           ") </dev/null >" + Quote(out) + " 2>&1";
        int status = std::system(line.c_str());
        if (output) *output = ReadFile(out);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // A missing tool fails the test with a clear word rather than skipping it.
    ::testing::AssertionResult Have(std::initializer_list<const char*> tools) {
        for (const char* tool : tools)
            if (std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) != 0)
                return ::testing::AssertionFailure()
                       << tool
                       << " is not installed: the reference checks need it (scripts/setup.sh installs it)";
        return ::testing::AssertionSuccess();
    }

    // src/: random and text files of several sizes, an empty file, a folder and a name with umlauts.
    void MakeSource() {
        fs::create_directories(Path("src/sub/deeper"));
        std::mt19937 rng(7);
        auto random = [&](size_t n) {
            std::string s(n, '\0');
            for (char& c : s) c = char(rng());
            return s;
        };
        std::string text;
        for (int i = 0; i < 4000; ++i) text += "Zeile " + std::to_string(i * 7919 % 10007) + "\n";
        TZipWriter::SaveFile(Path("src/random.bin"), random(70000));
        TZipWriter::SaveFile(Path("src/sub/text.txt"), text);
        TZipWriter::SaveFile(Path("src/sub/deeper/small.bin"), random(300));
        TZipWriter::SaveFile(Path("src/empty.txt"), "");
        TZipWriter::SaveFile(Path("src/Gr\xC3\xBC\xC3\x9F"
                                  "e.txt"),
                             "umlaut\n");
        TZipWriter::SaveFile(Path("src/zeros.bin"), std::string(200000, '\0'));
    }

    // unzip -lv: length, method, size, ratio, date, time, CRC, name.
    std::vector<TListed> UnzipListing(const std::string& archive) {
        std::string text;
        EXPECT_EQ(Run("unzip -lv " + Quote(archive), &text), 0) << text;
        std::vector<TListed> list;
        std::istringstream in(text);
        std::string line;
        bool body = false;
        while (std::getline(in, line)) {
            if (line.rfind("--------", 0) == 0) {
                if (body) break;
                body = true;
                continue;
            }
            if (!body) continue;
            std::istringstream f(line);
            TListed e;
            std::string ratio, date, time, crc;
            f >> e.size >> e.method >> e.packed >> ratio >> date >> time >> crc;
            f.get();
            f.get();
            std::getline(f, e.name);
            e.crc = uint32_t(std::stoul(crc, nullptr, 16));
            e.method = e.method.substr(0, e.method.find(':'));
            list.push_back(e);
        }
        return list;
    }

    // bsdtar -tv: mode, links, owner, group, size, month, day, time, name.
    std::vector<std::pair<std::string, uint64_t>> BsdtarListing(const std::string& archive) {
        std::string text;
        EXPECT_EQ(Run("bsdtar -tvf " + Quote(archive), &text), 0) << text;
        std::vector<std::pair<std::string, uint64_t>> list;
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream f(line);
            std::string skip, name;
            uint64_t size = 0;
            f >> skip >> skip >> skip >> skip >> size >> skip >> skip >> skip;
            f.get();
            std::getline(f, name);
            list.emplace_back(name, size);
        }
        return list;
    }

    std::vector<TListed> OurListing(TZipFront& zip) {
        std::vector<TListed> list;
        for (const ZipDirEntry& d : zip.Contents()) {
            TListed e;
            e.name = base::Cp1252ToUtf8(d.FileName);
            std::replace(e.name.begin(), e.name.end(), '\\', '/');
            e.size = d.UncomprSize64;
            // unzip shows an encrypted entry's packed size without its 12-byte encryption header.
            e.packed = d.ComprSize64 - ((d.Flag & 1) ? 12 : 0);
            e.crc = d.CRC32;
            e.method = d.ComprMethod == 0   ? "Stored"
                       : d.ComprMethod == 8 ? "Defl"
                                            : std::to_string(d.ComprMethod);
            list.push_back(e);
        }
        return list;
    }

    // Extracts with the menu's options into folder; returns the component's ErrCode.
    int Unpack(const std::string& archive, const std::string& folder) {
        fs::create_directories(Path(folder));
        TZipFront zip;
        Wire(zip);
        zip.SetTempDir(Path("tmp"));
        zip.SetZipFilename(archive);
        zip.FSpecArgs().Clear();
        zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames, TExtrOptsEnum::ExtrOverWrite});
        zip.SetExtrBaseDir(Path(folder) + "/");
        zip.Extract();
        return zip.ErrCode();
    }

    // Every file below folder with its bytes (folders map to "/").
    std::map<std::string, std::string> Files(const std::string& folder) {
        std::map<std::string, std::string> files;
        for (const std::string& name : Tree(Path(folder)))
            files[name] =
                name.back() == '/' ? "/" : ReadFile(Path(std::string(folder).append("/").append(name)));
        return files;
    }

    void Check(const TCase& c);

    int compared_ = 0;
};

void Reference::Check(const TCase& c) {
    SCOPED_TRACE(c.what);
    messages_.clear();
    fs::create_directories(Path("tmp"));
    TZipFront zip;
    Wire(zip);
    zip.SetZipFilename(c.ours);
    EXPECT_EQ(zip.ErrCode(), 0) << (messages_.empty() ? "" : messages_.front().text);
    std::vector<TListed> ours = OurListing(zip);
    std::vector<TListed> unzip = UnzipListing(c.theirs);
    ASSERT_FALSE(unzip.empty());
    EXPECT_EQ(ours, unzip);
    std::vector<std::pair<std::string, uint64_t>> bsd = BsdtarListing(c.theirs), ourNames;
    for (const TListed& e : ours) ourNames.emplace_back(e.name, e.size);
    EXPECT_EQ(ourNames, bsd);

    std::error_code ec;
    for (const char* folder : {"ours", "unzip", "bsdtar"}) fs::remove_all(Path(folder), ec);
    messages_.clear();
    int code = Unpack(c.ours, "ours");
    fs::create_directories(Path("unzip"));
    fs::create_directories(Path("bsdtar"));
    std::string unzipOut, bsdOut;
    int unzipCode = Run("unzip -o -P wrong " + Quote(c.theirs) + " -d unzip", &unzipOut);
    int bsdCode = Run("bsdtar --passphrase wrong -xf " + Quote(c.theirs) + " -C bsdtar", &bsdOut);
    EXPECT_TRUE(Tree(Path("tmp")).empty());

    if (c.encrypted) {
        // Every file with data is refused, with the program's own message; folders are still made.
        std::vector<std::string> refused, unzipSkipped, bsdRefused;
        for (const TRecorded& m : messages_) {
            if ((m.errCode & 0xFF) != 5) continue;
            const std::string prefix = "Kennwort fehlt oder ist falsch: ";
            EXPECT_EQ(m.text.substr(0, prefix.size()), prefix);
            std::string name = base::Cp1252ToUtf8(m.text.substr(prefix.size()));
            std::replace(name.begin(), name.end(), '\\', '/');
            refused.push_back(name);
        }
        EXPECT_EQ(code, 5);
        std::istringstream u(unzipOut), b(bsdOut);
        for (std::string line; std::getline(u, line);) {
            std::istringstream f(line);
            std::string word, name;
            if (f >> word && word == "skipping:" && f >> name) unzipSkipped.push_back(name);
        }
        for (std::string line; std::getline(b, line);) {
            size_t at = line.find(": Incorrect passphrase");
            if (at != std::string::npos) bsdRefused.push_back(line.substr(0, at));
        }
        EXPECT_NE(unzipCode, 0);
        EXPECT_NE(bsdCode, 0);
        ASSERT_FALSE(refused.empty());
        EXPECT_EQ(refused, unzipSkipped);
        // bsdtar writes an encrypted empty entry without asking for its password: it has nothing to
        // decrypt. unzip and we check the password for it as for any other.
        std::vector<std::string> withData;
        for (const std::string& n : refused)
            if (std::any_of(unzip.begin(), unzip.end(),
                            [&](const TListed& e) { return e.name == n && e.size; }))
                withData.push_back(n);
        EXPECT_EQ(withData, bsdRefused);
        // Nothing of a refused entry is written; unzip agrees on what is left (the folders).
        EXPECT_EQ(Tree(Path("ours")), Tree(Path("unzip")));
        compared_ += int(refused.size());
        return;
    }

    EXPECT_EQ(code, 0) << (messages_.empty() ? "" : messages_.back().text);
    EXPECT_EQ(unzipCode, 0) << unzipOut;
    EXPECT_EQ(bsdCode, 0) << bsdOut;
    std::map<std::string, std::string> mine = Files("ours"), theirs = Files("unzip"),
                                       bsdFiles = Files("bsdtar");
    EXPECT_EQ(mine.size(), theirs.size());
    EXPECT_TRUE(mine == theirs) << "our extraction differs from unzip's";
    EXPECT_TRUE(mine == bsdFiles) << "our extraction differs from bsdtar's";
    for (const TListed& e : unzip) {
        if (e.name.back() == '/') continue;
        auto it = mine.find(e.name);
        ASSERT_NE(it, mine.end()) << e.name;
        EXPECT_EQ(it->second.size(), e.size) << e.name;
        uint32_t crc =
            uint32_t(crc32(0, reinterpret_cast<const Bytef*>(it->second.data()), uInt(it->second.size())));
        EXPECT_EQ(crc, e.crc) << e.name;
        ++compared_;
    }
}

TEST_F(Reference, ZipArchivesOfOtherWritersListAndExtractAsTheReferenceToolsDo) {
    ASSERT_TRUE(Have({"zip", "unzip", "bsdtar", "python3"}));
    MakeSource();
    fs::create_directories(Path("set"));
    ASSERT_EQ(Run("zip -q -r deflate.zip src"), 0);
    ASSERT_EQ(Run("zip -q -r -0 store.zip src"), 0);
    ASSERT_EQ(Run("zip -q -r -fz zip64.zip src"), 0);
    ASSERT_EQ(Run("zip -q -r -s 64k set/split.zip src && zip -q -s 0 set/split.zip --out joined.zip"), 0);
    // Written to a pipe, zip cannot go back to fill in sizes: data descriptors follow the data.
    ASSERT_EQ(Run("zip -q -r - src | cat > pipe.zip"), 0);
    // Read from a pipe as well: the entry "-" of unknown size, with Zip64 fields.
    ASSERT_EQ(Run("cat src/sub/text.txt | zip -q - - | cat > stdin.zip"), 0);
    // A wrong password passes the traditional encryption's single check byte once in 256 per entry
    // (zip draws each header at random), and unzip then writes what it decrypted: the archive is
    // made again until "wrong" is refused by that byte for every entry (unzip tests no file).
    ASSERT_EQ(
        Run("for i in 1 2 3 4 5 6 7 8; do rm -f encrypted.zip && zip -q -r -P geheim encrypted.zip src && "
            "! unzip -t -P wrong encrypted.zip 2>&1 | grep -qE 'testing: +[^ ]*[^/ ] ' && break; done"),
        0);
    ASSERT_EQ(Run("bsdtar --format zip -cf bsdtar.zip src"), 0);
    ASSERT_EQ(Run("bsdtar --format zip --options zip:compression=store -cf bsdtar-store.zip src"), 0);
    std::string python =
        "import zipfile\n"
        "with zipfile.ZipFile('python.zip', 'w') as z:\n"
        "    z.write('src/random.bin', 'Gr\\u00fc\\u00dfe/roh.bin', zipfile.ZIP_STORED)\n"
        "    z.write('src/sub/text.txt', 'Gr\\u00fc\\u00dfe/\\u00c4\\u00d6\\u00dc text.txt', "
        "zipfile.ZIP_DEFLATED)\n"
        "    z.write('src/zeros.bin', 'ordner/null.bin', zipfile.ZIP_DEFLATED)\n"
        "    z.writestr('leer/', '')\n"
        "    z.writestr('caf\\u00e9.txt', 'caf\\u00e9', zipfile.ZIP_DEFLATED)\n";
    TZipWriter::SaveFile(Path("make.py"), python);
    ASSERT_EQ(Run("python3 make.py"), 0);

    std::vector<TCase> cases = {
        {"Info-ZIP deflate", Path("deflate.zip"), Path("deflate.zip")},
        {"Info-ZIP store", Path("store.zip"), Path("store.zip")},
        {"Info-ZIP Zip64", Path("zip64.zip"), Path("zip64.zip")},
        {"Info-ZIP split set", Path("set/split.zip"), Path("joined.zip")},
        {"Info-ZIP data descriptors", Path("pipe.zip"), Path("pipe.zip")},
        {"Info-ZIP from standard input", Path("stdin.zip"), Path("stdin.zip")},
        {"Info-ZIP encrypted", Path("encrypted.zip"), Path("encrypted.zip"), true},
        {"bsdtar deflate", Path("bsdtar.zip"), Path("bsdtar.zip")},
        {"bsdtar store", Path("bsdtar-store.zip"), Path("bsdtar-store.zip")},
        {"Python zipfile", Path("python.zip"), Path("python.zip")},
    };
    for (const TCase& c : cases) Check(c);
    std::cout << "[ reference ] " << cases.size() << " archives, " << compared_ << " entries compared\n";
}

}  // namespace
}  // namespace ziptest
