#pragma once
// GIFCodeTable — the LZW string table of one image: 4096 entries, the current code width, the
// previous code whose string the next entry extends, and the exact expansion of a code.
//
// Root code sizes above 11 put the clear code at 4096 or beyond: codes below the clear code are then
// plain values that never touch the table, and no entry is ever added. Once all 4096 entries exist the
// table stays full and the width stays at 12 bits until the next clear code (a deferred clear).
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace media {

class GIFCodeTable {
public:
    static constexpr int kSize = 4096;

    // rootSize is the root code size byte of the image data, 0..15.
    explicit GIFCodeTable(int rootSize) : root_(rootSize), clear_(1 << rootSize), tainted_(rootSize > 8) {
        for (int i = 0; i < std::min(clear_, kSize); ++i) {
            suffix_[i] = static_cast<uint16_t>(i);
            length_[i] = 1;
            rootValue_[i] = static_cast<uint16_t>(i);
        }
        Reset();
    }

    int ClearCode() const { return clear_; }
    int EndCode() const { return clear_ + 1; }
    int CodeSize() const { return codeSize_; }
    int Next() const { return next_; }
    int Old() const { return old_; }
    int First() const { return first_; }

    // Clean data keeps every prefix below its own code, so the length, first value and place of each
    // string are known and strings can be copied. Anything else ("tainted") takes the exact path.
    bool Tainted() const { return tainted_; }
    // Seen a code that valid data cannot hold (beyond the next entry, a broken chain, a non-value
    // after a clear, a root size without room for the clear code).
    bool Damaged() const { return damaged_; }

    int Length(int code) const { return length_[code]; }
    int RootValue(int code) const { return rootValue_[code]; }
    int Prefix(int code) const { return prefix_[code]; }
    int Suffix(int code) const { return suffix_[code]; }
    // Where the string of an entry was first written, for copying it from earlier output.
    std::size_t Start(int code) const { return start_[code]; }
    void SetNextStart(std::size_t at) {
        if (next_ < kSize) start_[next_] = static_cast<uint32_t>(at);
    }

    // The clear code: back to the root entries and width.
    void Reset() {
        codeSize_ = root_ + 1;
        limit_ = 2 * clear_;
        next_ = clear_ + 2;
        sp_ = 0;
    }

    // The first code after a clear (or at the start): its own string, no entry added.
    void Begin(int code) {
        first_ = old_ = code;
        if (code >= clear_) tainted_ = damaged_ = true;
    }

    // A code read on clean data whose string was placed without the table's help: adds the entry of
    // the previous string plus firstValue, and makes code the previous one.
    void Take(int code, int firstValue) {
        Add(firstValue);
        first_ = firstValue;
        old_ = code;
    }

    // Expands code (neither clear nor end) exactly onto the stack, top = first value, adds the entry
    // and makes code the previous one. False for damaged data: a chain longer than the stack, a code
    // that is its own prefix, or a code outside the table.
    bool Expand(int code) {
        const int incoming = code;
        sp_ = 0;
        if (code >= next_) {
            if (code > next_) tainted_ = damaged_ = true;
            stack_[sp_++] = static_cast<uint16_t>(first_);
            code = old_;
        }
        while (code >= clear_) {
            if (code >= kSize || sp_ >= kSize - 1 || prefix_[code] == code) {
                damaged_ = true;
                return false;
            }
            stack_[sp_++] = suffix_[code];
            code = prefix_[code];
        }
        first_ = code;
        stack_[sp_++] = static_cast<uint16_t>(code);
        Add(first_);
        old_ = incoming;
        return true;
    }
    // The expansion, last value first: Stack()[StackSize() - 1] is the first value of the string.
    const uint16_t* Stack() const { return stack_.data(); }
    int StackSize() const { return sp_; }
    int PopStack() { return stack_[--sp_]; }

    void MarkDamaged() { damaged_ = true; }

private:
    void Add(int firstValue) {
        if (next_ >= kSize) return;
        suffix_[next_] = static_cast<uint16_t>(firstValue);
        prefix_[next_] = static_cast<uint16_t>(old_);
        if (!tainted_) {
            length_[next_] = static_cast<uint16_t>(length_[old_] + 1);
            rootValue_[next_] = rootValue_[old_];
        }
        ++next_;
        if (next_ >= limit_ && limit_ < kSize) {
            limit_ *= 2;
            ++codeSize_;
        }
    }

    int root_, clear_;
    int codeSize_ = 0, limit_ = 0, next_ = 0;
    int first_ = 0, old_ = 0;
    bool tainted_, damaged_ = false;
    int sp_ = 0;
    std::array<uint16_t, kSize> prefix_{}, suffix_{}, length_{}, rootValue_{};
    std::array<uint32_t, kSize> start_{};
    std::array<uint16_t, kSize + 1> stack_{};
};

}  // namespace media
