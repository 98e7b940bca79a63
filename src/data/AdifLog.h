#pragma once
// ADIF files and table Log: the export of a log view and the import into one book, without any
// window, so the menu handlers, the tests and the benchmarks share them.

#include "exchange/Adif.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <functional>
#include <memory>
#include <utility>

class Connection;
class Dataset;
class QIODevice;

// One contact of an ADIF record in the log's own forms.
struct AdifLogRow {
    QString call;
    QDate date;
    QTime time; // to the minute
    QString band;
    QString mode;
    QString name;
    QString qth;
    QString rxRst;
    QString txRst;
    QString txQsl;
    QString rxQsl;
    QString note;
};

// The record as a contact of the log; false when it lacks a call, a valid date or time, a mode or
// a band. `cut` counts the values shortened to their column.
bool adifLogRow(const Adif::Record& r, AdifLogRow& row, int* cut = nullptr);

struct AdifImportResult {
    int imported = 0;
    int duplicates = 0;
    int invalid = 0; // incomplete, unreadable or out of range
    int cut = 0;     // values shortened to their column
    int skipped() const { return duplicates + invalid; }
};

// Reads an ADIF file into book `book` of the log database: new contacts stored with their prefix
// and country from the reference database, duplicates (the same call in any case, date, minute,
// band and mode in the book) and bad records skipped and counted. Contacts are committed in
// batches, so those stored before an error stay. `progress` gets the bytes read, the bytes in all
// (0 when the device cannot tell) and the contacts stored so far.
AdifImportResult
importAdif(Connection& log, Connection& reference, QIODevice& in, int book,
           const std::function<void(qint64 done, qint64 total, int imported)>& progress = {});

// Whether an import stored contacts whose award marks no rebuild has made since: set in the same
// transaction as an import's first stored contacts, so a cut-short import leaves it behind.
bool awardMarksOutOfDate(Connection& log);
// Called inside the rebuild's last transaction.
void clearAwardMarksOutOfDate(Connection& log);

// Writes the rows of a log view in its order, header first; returns the contacts written.
// `progress` gets the rows done. A device that fails throws.
int exportAdif(Dataset& view, QIODevice& out, const std::function<void(int done)>& progress = {});

// Hands the matched prefix of many calls back without asking the database twice for the same
// candidate; gives the same DXCC prefix and country as the prefix look-up of the entry panel.
class AdifPrefixCache {
public:
    explicit AdifPrefixCache(Connection& reference);
    ~AdifPrefixCache();
    // {PREF.DXCCPrefix, PREF.Country} of the call, empty when no prefix matches.
    std::pair<QString, QString> find(const QString& call);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
