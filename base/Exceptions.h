#pragma once
// Runtime errors of the program. Messages are cp1252 (shown in the error box); what() gives the
// same text as UTF-8 for logs and test output.
#include <exception>
#include <string>
#include <string_view>

#include "base/Cp1252.h"
#include "base/StrUtils.h"

namespace base {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)), utf8_(Cp1252ToUtf8(message_)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::string message_;
    std::string utf8_;
};

// The texts are cp1252 byte strings: \xF6 = ö, \xFC = ü.
class EFOpenError : public Exception {
public:
    using Exception::Exception;
    // "Datei %s kann nicht geöffnet werden"
    static EFOpenError CannotOpen(std::string_view fileName) {
        return EFOpenError(
            Format("Datei %.*s kann nicht ge\xF6"
                   "ffnet werden",
                   int(fileName.size()), fileName.data()));
    }
};

class EReadError : public Exception {
public:
    EReadError() : Exception("Stream-Read-Fehler") {}
    using Exception::Exception;
};

class EWriteError : public Exception {
public:
    EWriteError() : Exception("Stream-Write-Fehler") {}
    using Exception::Exception;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
    // "'%s' ist kein gültiger Integerwert"
    static EConvertError NotAnInteger(std::string_view text) {
        return EConvertError(
            Format("'%.*s' ist kein g\xFCltiger Integerwert", int(text.size()), text.data()));
    }
};

class EStringListError : public Exception {
public:
    using Exception::Exception;
    // "Der Index der Liste überschreitet das Maximum (%d)"
    static EStringListError IndexOutOfBounds(int index) {
        return EStringListError(
            Format("Der Index der Liste \xFC"
                   "berschreitet das Maximum (%d)",
                   index));
    }
    static EStringListError SortedListOperation() {
        return EStringListError("Diese Operation ist bei sortierten Listen nicht erlaubt");
    }
};

class EInOutError : public Exception {
public:
    using Exception::Exception;
    EInOutError(std::string message, int errorCode) : Exception(std::move(message)), errorCode_(errorCode) {}
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_ = 0;
};

}  // namespace base
