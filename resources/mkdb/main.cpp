// zelmor-mkdb: builds the five template databases that a new data folder is seeded from.
#include "CsvTable.h"
#include "CtyFile.h"
#include "InputError.h"
#include "ReferenceData.h"
#include "TemplateFile.h"
#include "awards/AwardViews.h"
#include "platform/AudioDevice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QStringDecoder>
#include <QTextStream>
#include <cmath>
#include <memory>

namespace {

struct Inputs {
    QString resources; // folder with schema/*.sql and the CSV files
    QString cty;
    QString iota;
    QString out;
};

QList<IotaSource> readIotaList(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw InputError({path, 0}, file.errorString());
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(file.readAll());
    if (utf8.hasError()) throw InputError({path, 0}, QStringLiteral("not valid UTF-8"));

    static const QRegularExpression ref(QStringLiteral("^(AF|AN|AS|EU|NA|OC|SA)-[0-9]{3}$"));
    QList<IotaSource> islands;
    int line = 0;
    for (QString raw : text.split(QLatin1Char('\n'))) {
        ++line;
        if (raw.endsWith(QLatin1Char('\r'))) raw.chop(1);
        if (raw.trimmed().isEmpty()) continue;
        const QStringList f = raw.split(QLatin1Char('|'));
        if (f.size() < 3 || f.size() > 4 || !ref.match(f.at(0).trimmed()).hasMatch() ||
            f.at(1).trimmed().isEmpty() || f.at(2).trimmed().isEmpty())
            throw InputError({path, line},
                             QStringLiteral("expected \"reference|island|prefix|call pattern\""));
        islands.append({line, f.at(0).trimmed(), f.at(1).trimmed(), f.at(2).trimmed(),
                        f.size() == 4 ? f.at(3).trimmed() : QString()});
    }
    if (islands.isEmpty()) throw InputError({path, 0}, QStringLiteral("no islands"));
    return islands;
}

QList<RegionSource> readRegions(const QString& path) {
    const CsvTable csv =
        CsvTable::read(path, {QStringLiteral("Oblast"), QStringLiteral("Key"), QStringLiteral("Name"),
                              QStringLiteral("CountryPref"), QStringLiteral("Country")});
    QList<RegionSource> regions;
    for (const CsvTable::Row& r : csv.rows)
        regions.append(
            {r.line, r.fields.at(0), r.fields.at(1), r.fields.at(2), r.fields.at(3), r.fields.at(4)});
    return regions;
}

QList<UtcCorrection> readUtcCorrections(const QString& path) {
    const CsvTable csv = CsvTable::read(path, {QStringLiteral("Entity"), QStringLiteral("Oblast"),
                                               QStringLiteral("TimeUTC"), QStringLiteral("Zone")});
    QList<UtcCorrection> corrections;
    for (const CsvTable::Row& r : csv.rows) {
        bool ok = false;
        const double hours = r.fields.at(2).toDouble(&ok);
        if (!ok || r.fields.at(0).isEmpty() || r.fields.at(3).isEmpty())
            throw InputError({path, r.line}, QStringLiteral("entity, hours and zone are required"));
        corrections.append({r.line, r.fields.at(0), r.fields.at(1), hours});
    }
    return corrections;
}

QList<QVariantList> readStates(const QString& path) {
    static const QRegularExpression code(QStringLiteral("^[A-Z]{2}$"));
    const CsvTable csv = CsvTable::read(path, {QStringLiteral("State"), QStringLiteral("Name")});
    QList<QVariantList> rows;
    for (const CsvTable::Row& r : csv.rows) {
        if (!code.match(r.fields.at(0)).hasMatch() || r.fields.at(1).isEmpty() || r.fields.at(1).size() > 20)
            throw InputError({path, r.line},
                             QStringLiteral("state code of two capitals, name of 1 to 20 characters"));
        rows.append({r.fields.at(0), r.fields.at(1)});
    }
    return rows;
}

// CSV rows as they are, one column per field.
QList<QVariantList> readRows(const QString& path, const QStringList& header) {
    QList<QVariantList> rows;
    for (const CsvTable::Row& r : CsvTable::read(path, header).rows) {
        QVariantList row;
        for (const QString& field : r.fields)
            row.append(field);
        rows.append(row);
    }
    return rows;
}

void fillReferenceDatabase(TemplateFile& db, const ReferenceData& data, const QList<QVariantList>& states) {
    QList<QVariantList> rows;
    for (const AllPrefRow& r : data.allPref)
        rows.append({r.allPrefix, r.prefix, r.other});
    db.insert(QStringLiteral("ALLPREF"),
              {QStringLiteral("AllPrefix"), QStringLiteral("Prefix"), QStringLiteral("Other")}, rows);

    rows.clear();
    for (const PrefRow& r : data.pref)
        rows.append({r.prefix, r.dxccPrefix, r.country, r.continent, r.timeUtc, r.latitude, r.longitude,
                     r.ituZone, r.cqZone, QString()});
    db.insert(QStringLiteral("PREF"),
              {QStringLiteral("Prefix"), QStringLiteral("DXCCPrefix"), QStringLiteral("Country"),
               QStringLiteral("Continent"), QStringLiteral("TimeUTC"), QStringLiteral("Latitude"),
               QStringLiteral("Longitude"), QStringLiteral("ITUZone"), QStringLiteral("CQZone"),
               QStringLiteral("Other")},
              rows);

    rows.clear();
    for (const DxccRow& r : data.dxcc)
        rows.append({r.prefix, r.region, r.continent});
    db.insert(QStringLiteral("DXCC"),
              {QStringLiteral("Prefix"), QStringLiteral("Region"), QStringLiteral("Other")}, rows);

    rows.clear();
    for (const RegionRow& r : data.regions)
        rows.append({r.oblast, r.prefix, r.name, r.countryPref});
    db.insert(QStringLiteral("RussUkr"),
              {QStringLiteral("Oblast"), QStringLiteral("Prefix"), QStringLiteral("Name"),
               QStringLiteral("CountryPref")},
              rows);

    rows.clear();
    for (const IotaRow& r : data.iota)
        rows.append({r.num, r.prefDxcc, r.islandName});
    db.insert(QStringLiteral("IOTA"),
              {QStringLiteral("Num"), QStringLiteral("PrefDXXC"), QStringLiteral("IslandName")}, rows);

    db.insert(QStringLiteral("WAS"), {QStringLiteral("State"), QStringLiteral("Name")}, states);
}

void fillLogDatabase(TemplateFile& db, const ReferenceData& data, const QList<QVariantList>& states) {
    // A fresh data folder opens with one selected log book.
    db.insert(
        QStringLiteral("LogName"),
        {QStringLiteral("Name"), QStringLiteral("Prim"), QStringLiteral("Sel"), QStringLiteral("LogStart")},
        {{QStringLiteral("Main"), QString(), 1, QVariant()}});
    QList<QVariantList> rows;
    for (const DxccRow& r : data.dxcc)
        rows.append({r.prefix, r.region});
    db.insert(QStringLiteral("Aw_DXCC"), {QStringLiteral("Prefix"), QStringLiteral("Region")}, rows);

    // The saved award queries and the item lists they join the log to, one row per item.
    db.run(AwardViews::schemaStatements());
    const QList<AwardViews::ItemList>& lists = AwardViews::itemLists();
    QMap<QString, QVariantList> iota, regions;
    for (const IotaRow& r : data.iota)
        if (!r.num.isEmpty() && !iota.contains(r.num)) iota.insert(r.num, {r.num, r.islandName});
    for (const RegionRow& r : data.regions)
        if (!r.oblast.isEmpty() && !regions.contains(r.oblast + '\t' + r.countryPref))
            regions.insert(r.oblast + '\t' + r.countryPref, {r.oblast, r.countryPref, r.name});
    db.insert(lists.at(0).table, lists.at(0).columns, iota.values());
    db.insert(lists.at(1).table, lists.at(1).columns, states);
    db.insert(lists.at(2).table, lists.at(2).columns, regions.values());
}

// The alarm sound: one second of an 880 Hz tone, 8000 Hz 16-bit mono.
QByteArray alarmSound() {
    const int rate = 8000;
    QByteArray samples;
    for (int i = 0; i < rate; ++i) {
        const qint16 v = qint16(12000 * std::sin(2 * M_PI * 880.0 * i / rate));
        samples.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    }
    return Audio::pcmWavHeader(rate, 1, quint32(samples.size())) + samples;
}

void writeAlarmSound(const QDir& out) {
    const QString path = out.filePath(QStringLiteral("Sound/Alarm.wav"));
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    const QByteArray bytes = alarmSound();
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw InputError({path, 0}, QStringLiteral("cannot write"));
}

void build(const Inputs& in) {
    const QDir res(in.resources);
    const QDir out(in.out);
    const QString schema = res.filePath(QStringLiteral("schema/%1.sql"));
    const QStringList outputs{out.filePath(QStringLiteral("DB/Work/cfg.mdb")),
                              out.filePath(QStringLiteral("DB/Work/DB.mdb")),
                              out.filePath(QStringLiteral("DB/Log/Log_Zelmor.mdb")),
                              out.filePath(QStringLiteral("DB/Log/Media.mdb")),
                              out.filePath(QStringLiteral("DB/CallBook/CBook.mdb"))};
    // Built from scratch: nothing of an earlier run survives, also when this one fails.
    for (const QString& path : outputs)
        if (QFile::exists(path) && !QFile::remove(path))
            throw InputError({path, 0}, QStringLiteral("cannot remove"));

    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        throw std::runtime_error("the Qt SQLite driver is not installed");

    ReferenceData data(readCtyFile(in.cty));
    data.addRegions(readRegions(res.filePath(QStringLiteral("russukr.csv"))),
                    res.filePath(QStringLiteral("russukr.csv")));
    data.addWholeCalls();
    data.addIslands(readIotaList(in.iota));
    const QString utcCorrections = res.filePath(QStringLiteral("utc-corrections.csv"));
    data.correctUtcOffsets(readUtcCorrections(utcCorrections), utcCorrections);
    const QList<QVariantList> states = readStates(res.filePath(QStringLiteral("was.csv")));
    const QList<QVariantList> pickLists = readRows(res.filePath(QStringLiteral("formconfig.csv")),
                                                   {QStringLiteral("FormName"), QStringLiteral("Name_Param"),
                                                    QStringLiteral("Param"), QStringLiteral("Prim")});
    const QStringList languageColumns{
        QStringLiteral("FormName"), QStringLiteral("Object"), QStringLiteral("Russ"), QStringLiteral("En"),
        QStringLiteral("De"),       QStringLiteral("Fr"),     QStringLiteral("oth"),  QStringLiteral("Prim")};
    const QList<QVariantList> captions =
        readRows(res.filePath(QStringLiteral("language.csv")), languageColumns);

    std::vector<std::unique_ptr<TemplateFile>> files;
    const QStringList schemas{QStringLiteral("cfg"), QStringLiteral("db"), QStringLiteral("log"),
                              QStringLiteral("media"), QStringLiteral("cbook")};
    for (qsizetype i = 0; i < outputs.size(); ++i)
        files.push_back(std::make_unique<TemplateFile>(outputs.at(i), schema.arg(schemas.at(i))));

    files[0]->insert(QStringLiteral("FormConfig"),
                     {QStringLiteral("FormName"), QStringLiteral("Name_Param"), QStringLiteral("Param"),
                      QStringLiteral("Prim")},
                     pickLists);
    files[0]->insert(QStringLiteral("Language"), languageColumns, captions);
    // Every sound recording starts as a copy of this WAV header, which fixes its format.
    files[0]->insert(QStringLiteral("Cfg"),
                     {QStringLiteral("FormName"), QStringLiteral("Object"), QStringLiteral("Name_Param"),
                      QStringLiteral("Prim"), QStringLiteral("Memo")},
                     {{QStringLiteral("Fsound"), QStringLiteral("MediaPlayer1"), QStringLiteral("FileName"),
                       QStringLiteral("StartRec"), Audio::builtInRecordingTemplate()}});
    fillReferenceDatabase(*files[1], data, states);
    fillLogDatabase(*files[2], data, states);
    for (const auto& file : files)
        file->finish();
    writeAlarmSound(out);

    QTextStream(stdout) << "zelmor-mkdb: DXCC " << data.dxcc.size() << ", PREF " << data.pref.size()
                        << ", ALLPREF " << data.allPref.size() << " (" << data.duplicatePrefixes
                        << " repeated cty.dat prefixes ignored, " << data.prefixesTakenByRegions
                        << " taken by regions, " << data.familyPrefixesLeft
                        << " region prefixes left to other entities; whole calls: " << data.wholeCallsKept
                        << " kept, " << data.wholeCallGuards << " rows for longer calls, "
                        << data.wholeCallsAsPrefix << " found by prefix, " << data.wholeCallsShadowed
                        << " shadowed, " << data.wholeCallsTooLong << " over six characters), RussUkr "
                        << data.regions.size() << ", IOTA " << data.iota.size() << " ("
                        << data.unresolvedIslands.size()
                        << " without entity: " << data.unresolvedIslands.join(QStringLiteral(", "))
                        << "), WAS " << states.size() << ", FormConfig " << pickLists.size() << ", Language "
                        << captions.size() << "\n";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds the template databases of a new data folder."));
    parser.addHelpOption();
    const QCommandLineOption resources(QStringLiteral("resources"),
                                       QStringLiteral("Folder of schema/ and the CSV files."),
                                       QStringLiteral("dir"));
    const QCommandLineOption cty(QStringLiteral("cty"), QStringLiteral("Country file cty.dat."),
                                 QStringLiteral("file"));
    const QCommandLineOption iota(QStringLiteral("iota"), QStringLiteral("IOTA list iota.tbl."),
                                  QStringLiteral("file"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Template folder to write."),
                                 QStringLiteral("dir"));
    parser.addOptions({resources, cty, iota, out});
    parser.process(app);

    const Inputs in{parser.value(resources), parser.value(cty), parser.value(iota), parser.value(out)};
    if (in.resources.isEmpty() || in.cty.isEmpty() || in.iota.isEmpty() || in.out.isEmpty()) {
        QTextStream(stderr) << "zelmor-mkdb: --resources, --cty, --iota and --out are all required\n";
        return 2;
    }
    try {
        build(in);
    } catch (const std::exception& e) {
        QTextStream(stderr) << "zelmor-mkdb: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
