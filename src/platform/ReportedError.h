#pragma once
// Marks an error the user has already been told about (a lock that still lasts): the handler
// still ends, but no second box is shown for it.

class ReportedError {
public:
    virtual ~ReportedError() = default;
};
