#pragma once
#include "platform/ReportedError.h"

#include <QString>
#include <stdexcept>

// A database or data-access failure; its text is what the standard error box shows.
class DbError : public std::runtime_error {
public:
    // The causes a user can do something about; the error box puts a plain sentence before the
    // technical text of each.
    enum class Kind {
        Other,
        Locked,     // another program holds the database
        DiskFull,   // a write found no room
        DiskIo,     // a write the disk failed
        ReadOnly,   // a write to a file that may only be read
        Moved,      // the file was deleted or renamed under the open connection
        CannotOpen, // the file could not be opened
    };

    explicit DbError(const QString& message, Kind kind = Kind::Other)
        : std::runtime_error(message.toStdString()), message_(message), kind_(kind) {}
    const QString& message() const { return message_; }
    Kind kind() const { return kind_; }
    bool locked() const { return kind_ == Kind::Locked; }

private:
    QString message_;
    Kind kind_;
};

// A read refused again by a lock that was already reported and still lasts.
class DbLockRepeated : public DbError, public ReportedError {
public:
    explicit DbLockRepeated(const QString& message) : DbError(message, Kind::Locked) {}
};
