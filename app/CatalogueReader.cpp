#include "app/CatalogueReader.h"

#include <algorithm>
#include <cstring>

#include "app/Catalogue.h"
#include "app/CatalogueScan.h"
#include "base/Cp1252.h"
#include "base/FileStream.h"

using catalogue::FirstNonAscii;
using catalogue::kByteOrderMark;
using catalogue::npos;

TCatalogueReader::TCatalogueReader(const std::string& fileName, size_t pieceSize)
    : file_(std::make_unique<base::TFileStream>(fileName, base::TFileStream::fmOpenRead)),
      buffer_(std::max<size_t>(pieceSize, 1), '\0') {}

TCatalogueReader::~TCatalogueReader() = default;

std::string_view TCatalogueReader::Next() {
    if (converted_) {
        // The converted rest is one piece.
        offset_ = next_;
        if (offset_ >= textBase_ + text_.size()) return {};
        next_ = textBase_ + text_.size();
        return std::string_view(text_).substr(size_t(offset_ - textBase_));
    }
    // What followed the last line end of the previous piece starts this one.
    std::memmove(buffer_.data(), buffer_.data() + used_, filled_ - used_);
    filled_ -= used_;
    offset_ = next_;
    used_ = 0;
    for (;;) {
        if (!atEnd_ && filled_ < buffer_.size()) {
            const int64_t got = file_->Read(buffer_.data() + filled_, int64_t(buffer_.size() - filled_));
            if (got <= 0)
                atEnd_ = true;
            else
                filled_ += size_t(got);
        }
        // The last line feed (memrchr is a GNU extension).
        const std::string_view filled(buffer_.data(), filled_);
        const size_t lf = filled.rfind('\n');
        if (lf != std::string_view::npos) {
            used_ = lf + 1;
            break;
        }
        if (atEnd_) {
            used_ = filled_;
            break;
        }
        // A line longer than the buffer: make room for the rest of it.
        if (filled_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    }
    next_ = offset_ + used_;
    // Until the first byte beyond ASCII every encoding reads alike.
    if (!decided_) {
        const size_t first = FirstNonAscii(std::string_view(buffer_.data(), used_));
        if (first != npos) {
            decided_ = true;
            if (RestIsUtf8(first)) {
                ConvertRest();
                next_ = offset_;
                return Next();
            }
        }
    }
    return {buffer_.data(), used_};
}

bool TCatalogueReader::RestIsUtf8(size_t from) {
    base::TUtf8Check check;
    if (!check.Feed(std::string_view(buffer_.data() + from, filled_ - from))) return false;
    if (!atEnd_) {
        // The file is read on where the buffer ends, and put back there.
        const int64_t resume = file_->Position();
        std::string chunk(kPiece, '\0');
        for (int64_t got; (got = file_->Read(chunk.data(), int64_t(chunk.size()))) > 0;)
            if (!check.Feed(std::string_view(chunk.data(), size_t(got)))) break;
        file_->Seek(resume, base::TSeekOrigin::soBeginning);
    }
    return check.Complete();
}

void TCatalogueReader::ConvertRest() {
    std::string rest(buffer_.data(), filled_);
    if (!atEnd_) {
        std::string chunk(kPiece, '\0');
        for (int64_t got; (got = file_->Read(chunk.data(), int64_t(chunk.size()))) > 0;)
            rest.append(chunk.data(), size_t(got));
    }
    const bool bom =
        offset_ == 0 && std::string_view(rest).substr(0, kByteOrderMark.size()) == kByteOrderMark;
    text_ = DataText(rest, bom ? TDataEncoding::Utf8WithBom : TDataEncoding::Utf8);
    textBase_ = offset_;
    converted_ = true;
    atEnd_ = true;
}

std::string TCatalogueReader::ReadAt(uint64_t offset, size_t count) {
    std::string bytes;
    // Before the converted text the file is ASCII: read as it is.
    const uint64_t rawEnd = converted_ ? std::min<uint64_t>(offset + count, textBase_) : offset + count;
    if (offset < rawEnd) {
        bytes.assign(size_t(rawEnd - offset), '\0');
        file_->Seek(int64_t(offset), base::TSeekOrigin::soBeginning);
        const int64_t got = file_->Read(bytes.data(), int64_t(bytes.size()));
        bytes.resize(size_t(std::max<int64_t>(got, 0)));
    }
    if (converted_ && offset + count > textBase_) {
        const uint64_t from = std::max(offset, textBase_) - textBase_;
        if (from < text_.size())
            bytes += text_.substr(size_t(from), size_t(offset + count - textBase_ - from));
    }
    return bytes;
}
