#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace base {
class TFileStream;
}  // namespace base

// Reads a file in pieces of whole lines into one buffer it reuses, so that a scan of a large
// catalogue runs in the processor's cache instead of copying the whole file to memory first. The
// pieces are cp1252: at the file's first byte beyond ASCII the reader checks the rest; when the file
// is UTF-8 it serves the rest converted, from memory, and offsets count in the converted text.
class TCatalogueReader {
public:
    // EFOpenError "Datei %s kann nicht geöffnet werden" when the file cannot be opened.
    static constexpr size_t kPiece = 96 * 1024;  // larger reads were several times slower here
    // pieceSize: the buffer to begin with (it grows for longer lines); small ones are for tests.
    explicit TCatalogueReader(const std::string& fileName, size_t pieceSize = kPiece);
    ~TCatalogueReader();
    TCatalogueReader(const TCatalogueReader&) = delete;
    TCatalogueReader& operator=(const TCatalogueReader&) = delete;

    // The next piece: whole lines with their line ends (the file's last line may lack one); empty
    // at the end of the file.
    std::string_view Next();
    // Where in the file the piece that Next() returned last begins.
    uint64_t Offset() const { return offset_; }
    // Up to count bytes from offset (fewer at the end of the file).
    std::string ReadAt(uint64_t offset, size_t count);

private:
    // Whether the file from the buffer's byte `from` to its end is UTF-8 (the file position is kept).
    bool RestIsUtf8(size_t from);
    // Converts the file from the current piece on and serves it from text_.
    void ConvertRest();

    std::unique_ptr<base::TFileStream> file_;
    std::string buffer_;
    size_t filled_ = 0, used_ = 0;
    uint64_t offset_ = 0, next_ = 0;
    bool atEnd_ = false;
    bool decided_ = false;    // the encoding is known (everything before was ASCII)
    bool converted_ = false;  // a UTF-8 file: text_ holds the rest in cp1252, from offset textBase_
    std::string text_;
    uint64_t textBase_ = 0;
};
