#pragma once
#include <QString>
#include <stdexcept>

// A database or data-access failure; its text is what the standard error box shows.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};
