#include "app/Catalogue.h"

#include <algorithm>
#include <cstdint>

#include "app/CatalogueScan.h"
#include "base/Cp1252.h"
#include "base/FileStream.h"
#include "base/StrUtils.h"

using catalogue::Contains;
using catalogue::FirstNonAscii;
using catalogue::kByteOrderMark;
using catalogue::LineAt;
using catalogue::LineIndexAt;
using catalogue::LineRef;
using catalogue::npos;
using catalogue::Searcher;

TDataEncoding DataEncodingOf(std::string_view bytes) {
    const size_t first = FirstNonAscii(bytes);
    if (first == npos) return TDataEncoding::Cp1252;
    base::TUtf8Check check;
    if (!check.Feed(bytes.substr(first)) || !check.Complete()) return TDataEncoding::Cp1252;
    return bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark ? TDataEncoding::Utf8WithBom
                                                                    : TDataEncoding::Utf8;
}

std::string DataText(std::string_view bytes, TDataEncoding encoding) {
    if (encoding == TDataEncoding::Cp1252) return std::string(bytes);
    if (encoding == TDataEncoding::Utf8WithBom) bytes.remove_prefix(kByteOrderMark.size());
    return base::Utf8ToCp1252(bytes);
}

TCatalogue::TCatalogue(std::string bytes) : encoding_(DataEncodingOf(bytes)) {
    bytes_ = encoding_ == TDataEncoding::Cp1252 ? std::move(bytes) : DataText(bytes, encoding_);
}

TCatalogue TCatalogue::LoadFromFile(const std::string& fileName) {
    TCatalogue catalogue;
    catalogue.Load(fileName);
    return catalogue;
}

void TCatalogue::Load(const std::string& fileName) {
    base::TFileStream file(fileName, base::TFileStream::fmOpenRead);
    const int64_t size = file.Size();
    bytes_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    const int64_t got = size > 0 ? file.Read(bytes_.data(), size) : 0;
    bytes_.resize(static_cast<size_t>(std::max<int64_t>(got, 0)));
    encoding_ = DataEncodingOf(bytes_);
    if (encoding_ != TDataEncoding::Cp1252) bytes_ = DataText(bytes_, encoding_);
}

size_t TCatalogue::LineCount() const {
    size_t count = LineIndexAt(bytes_, bytes_.size());
    if (!bytes_.empty() && bytes_.back() != '\n') ++count;
    return count;
}

std::vector<std::string_view> TCatalogue::Lines() const {
    std::vector<std::string_view> lines;
    for (size_t pos = 0; pos < bytes_.size();) {
        LineRef line = LineAt(bytes_, pos);
        lines.push_back(line.View(bytes_));
        pos = line.Next;
    }
    return lines;
}

std::string_view TextFrom(std::string_view line, size_t position, size_t maxLength) {
    if (position == 0) position = 1;
    if (line.size() < position) return line.substr(line.size());
    return line.substr(position - 1, maxLength);
}

std::string_view StripFieldKey(std::string_view line) {
    // The path keys are checked last in the rule and override the value keys, so they go first here.
    for (std::string_view key : {"Screenshot:", "Install:", "Starten:", "Text:"})
        if (Contains(line, key)) return line.substr(0, 0);
    for (std::string_view key :
         {"Programm:", "Prog_OS:", "Lizenz:", "Preis:", "Sprache:", "Anbieter:", "Homepage:"})
        if (Contains(line, key)) return TextFrom(line, 11, 255);
    return line;
}

std::vector<std::string> ReadCategoryList(const TCatalogue& progname) {
    const Searcher categoryWord("Kategorie", true);
    std::vector<std::string> names;
    const std::string& s = progname.Bytes();
    for (size_t pos = 0; pos < s.size();) {
        LineRef line = LineAt(s, pos);
        std::string_view text = line.View(s);
        // Compounds count as the format's authors use them: "Unterkategorie:Spiele" is a category
        // line too, so this one test ignores the letter case (a-z) of the word.
        if (categoryWord.Find(text.data(), 0, text.size()) != npos) names.emplace_back(TextFrom(text, 11));
        pos = line.Next;
    }
    return names;
}

std::vector<std::string> ReadCategoryPrograms(const TCatalogue& progname, std::string_view category) {
    std::vector<std::string> programs;
    const std::string header = "Kategorie:" + std::string(category);
    const std::string& s = progname.Bytes();
    bool collecting = false;
    for (size_t pos = 0; pos < s.size();) {
        LineRef line = LineAt(s, pos);
        std::string_view text = line.View(s);
        // A line of blanks is not empty and does not end the block.
        if (text.empty()) collecting = false;
        if (collecting) programs.emplace_back(text);
        if (Contains(text, header)) collecting = true;
        pos = line.Next;
    }
    return programs;
}

std::vector<std::string> SampleStoredPaths(std::string_view bytes, size_t max) {
    std::vector<std::string> paths;
    while (!bytes.empty() && paths.size() < max) {
        const size_t lf = bytes.find('\n');
        const std::string_view line = bytes.substr(0, lf);
        bytes = lf == npos ? std::string_view() : bytes.substr(lf + 1);
        for (std::string_view key : {"Screenshot:", "Install:", "Starten:"}) {
            const size_t at = line.find(key);
            if (at == npos) continue;
            std::string value = base::Trim(line.substr(at + key.size()));
            if (value.size() <= 3) break;  // an absent path
            const size_t colon = value.find(':');
            if (colon != std::string::npos) value.erase(0, colon + 1);  // the authoring drive
            const size_t rest = value.find_first_not_of("\\/");
            if (rest != std::string::npos) paths.push_back(value.substr(rest));
            break;
        }
    }
    return paths;
}
