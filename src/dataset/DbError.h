#pragma once
#include "platform/ReportedError.h"

#include <QString>
#include <stdexcept>

// A database or data-access failure; its text is what the standard error box shows.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, bool locked = false)
        : std::runtime_error(message.toStdString()), message_(message), locked_(locked) {}
    const QString& message() const { return message_; }
    // Another program holds the database.
    bool locked() const { return locked_; }

private:
    QString message_;
    bool locked_;
};

// A read refused again by a lock that was already reported and still lasts.
class DbLockRepeated : public DbError, public ReportedError {
public:
    explicit DbLockRepeated(const QString& message) : DbError(message, true) {}
};
