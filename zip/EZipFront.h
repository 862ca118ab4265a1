#pragma once
// The zip front-end's exception: a message of its table by id, and whether the user may see it.

#include <string>

#include "base/Exceptions.h"

class EZipFront : public base::Exception {
public:
    EZipFront(int id, bool showToUser);
    // The text's "%s" filled with a drive.
    EZipFront(int id, const std::string& drive);
    // The text's "%d" filled with a volume number.
    EZipFront(int id, int volume);

    int MessageId() const { return messageId_; }
    bool ShowToUser() const { return showToUser_; }

private:
    int messageId_;
    bool showToUser_;
};
