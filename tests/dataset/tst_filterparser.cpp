// The filter and sort texts the windows write, as the SQL and bound values they become.

#include "dataset/DbError.h"
#include "dataset/FilterParser.h"
#include "dataset/StoredValue.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const std::vector<FilterColumn> kColumns = {
    {u"LogCall"_s, true, false},     {u"LogDate"_s, false, true},  {u"LogTime"_s, false, true},
    {u"LogNameLog"_s, false, false}, {u"LogFreq"_s, false, false}, {u"Sel"_s, false, false},
    {u"AwName"_s, false, false},     {u"FormName"_s, true, false}, {u"Name_Param"_s, true, false},
    {u"Log Note"_s, true, false},
};

} // namespace

class FilterParserTest : public QObject {
    Q_OBJECT
private slots:
    void filterBecomesBoundSql_data();
    void filterBecomesBoundSql();
    void badFilterIsRefusedNamingIt_data();
    void badFilterIsRefusedNamingIt();
    void sortBecomesOrderBy_data();
    void sortBecomesOrderBy();
    void badSortIsRefusedNamingIt_data();
    void badSortIsRefusedNamingIt();
    void dateLiteralsBecomeStoredText_data();
    void dateLiteralsBecomeStoredText();
};

void FilterParserTest::filterBecomesBoundSql_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QVariantList>("binds");

    const QString like = u" LIKE ? ESCAPE '\\'"_s;
    QTest::newRow("integer") << "LogNameLog = 3"
                             << R"("LogNameLog" = ?)" << QVariantList{3};
    QTest::newRow("no blanks") << "AwName='DXCC'"
                               << R"("AwName" = ?)" << QVariantList{"DXCC"};
    QTest::newRow("two blanks before AND")
        << "FormName = 'FMain' AND  Name_Param = 'X'"
        << R"("FormName" = ? AND "Name_Param" = ?)" << QVariantList{"FMain", "X"};
    QTest::newRow("doubled quote") << "LogCall = 'O''NEIL'"
                                   << R"("LogCall" = ?)" << QVariantList{"O'NEIL"};
    QTest::newRow("quote that would end the SQL") << "LogCall = ''' OR 1=1 --'"
                                                  << R"("LogCall" = ?)" << QVariantList{"' OR 1=1 --"};
    QTest::newRow("double-quoted text") << R"(LogCall = "say ""hi""")"
                                        << R"("LogCall" = ?)" << QVariantList{R"(say "hi")"};
    QTest::newRow("like with doubled quote")
        << "LogCall LIKE 'O''N*'" << QString(R"("LogCall")") + like << QVariantList{"O'N%"};
    QTest::newRow("like percent and star")
        << "LogCall LIKE '%A*'" << QString(R"("LogCall")") + like << QVariantList{"%A%"};
    QTest::newRow("like underscore literal")
        << "LogCall LIKE 'UA_1*'" << QString(R"("LogCall")") + like << QVariantList{"UA\\_1%"};
    QTest::newRow("like bracketed literals")
        << "LogCall LIKE 'A[*]B[_]C[%]\\*'" << QString(R"("LogCall")") + like
        << QVariantList{"A*B\\_C\\%\\\\%"};
    QTest::newRow("like on exact column is GLOB") << "AwName LIKE 'dx?[*'"
                                                  << R"("AwName" GLOB ?)" << QVariantList{"dx[?][[]*"};
    QTest::newRow("AND binds tighter than OR")
        << "LogNameLog = 1 OR LogNameLog = 2 AND LogCall = 'A'"
        << R"("LogNameLog" = ? OR "LogNameLog" = ? AND "LogCall" = ?)" << QVariantList{1, 2, "A"};
    QTest::newRow("parentheses kept")
        << "(LogNameLog = 1 OR LogNameLog = 2) AND LogCall = 'A'"
        << R"(("LogNameLog" = ? OR "LogNameLog" = ?) AND "LogCall" = ?)" << QVariantList{1, 2, "A"};
    QTest::newRow("keywords and names in any case")
        << "logcall = 'x' and LOGNAMELOG <> 2 Or lognamelog>=3"
        << R"("LogCall" = ? AND "LogNameLog" <> ? OR "LogNameLog" >= ?)" << QVariantList{"x", 2, 3};
    QTest::newRow("bracketed names") << "[Log Note] = 'a' AND [LogCall]<='b'"
                                     << R"("Log Note" = ? AND "LogCall" <= ?)" << QVariantList{"a", "b"};
    QTest::newRow("all comparisons")
        << "LogNameLog<1 AND LogNameLog>2 AND LogNameLog<=3 AND LogNameLog>=4"
        << R"("LogNameLog" < ? AND "LogNameLog" > ? AND "LogNameLog" <= ? AND "LogNameLog" >= ?)"
        << QVariantList{1, 2, 3, 4};
    QTest::newRow("decimal and negative")
        << "LogFreq >= 14.074 AND LogNameLog <> -2"
        << R"("LogFreq" >= ? AND "LogNameLog" <> ?)" << QVariantList{14.074, -2};
    QTest::newRow("is null") << "LogCall IS NULL"
                             << R"("LogCall" IS NULL)" << QVariantList{};
    QTest::newRow("is not null") << "LogCall is not null"
                                 << R"("LogCall" IS NOT NULL)" << QVariantList{};
    QTest::newRow("= NULL") << "LogCall = NULL"
                            << R"("LogCall" IS NULL)" << QVariantList{};
    QTest::newRow("<> NULL") << "LogCall <> Null"
                             << R"("LogCall" IS NOT NULL)" << QVariantList{};
    QTest::newRow("true and false") << "Sel = True OR Sel = false"
                                    << R"("Sel" = ? OR "Sel" = ?)" << QVariantList{1, 0};
    QTest::newRow("ISO date") << "LogDate = #2024-03-10#"
                              << R"("LogDate" = ?)" << QVariantList{"2024-03-10"};
    QTest::newRow("month-first date") << "LogDate = #03/10/2024#"
                                      << R"("LogDate" = ?)" << QVariantList{"2024-03-10"};
    QTest::newRow("day-first date") << "LogDate >= #10.03.2024#"
                                    << R"("LogDate" >= ?)" << QVariantList{"2024-03-10"};
    QTest::newRow("date and time") << "LogDate < #2024-03-10 9:05#"
                                   << R"("LogDate" < ?)" << QVariantList{"2024-03-10 09:05:00"};
    QTest::newRow("text date on a date column")
        << "LogDate >= '10.03.2024' AND LogDate <= '31.12.2024'"
        << R"("LogDate" >= ? AND "LogDate" <= ?)" << QVariantList{"2024-03-10", "2024-12-31"};
    QTest::newRow("text time on a date column") << "LogTime <= '09:05:30'"
                                                << R"("LogTime" <= ?)" << QVariantList{"09:05:30"};
    QTest::newRow("text that is no date stays text") << "LogDate = 'soon'"
                                                     << R"("LogDate" = ?)" << QVariantList{"soon"};
    QTest::newRow("date-like text on a text column stays as written")
        << "LogCall = '10.03.2024'"
        << R"("LogCall" = ?)" << QVariantList{"10.03.2024"};
    QTest::newRow("empty") << ""
                           << "" << QVariantList{};
    QTest::newRow("blanks only") << "   "
                                 << "" << QVariantList{};
}

void FilterParserTest::filterBecomesBoundSql() {
    QFETCH(QString, filter);
    QFETCH(QString, where);
    QFETCH(QVariantList, binds);
    const SqlCondition c = FilterParser::parseFilter(filter, kColumns);
    QCOMPARE(c.where, where);
    QCOMPARE(c.binds.size(), binds.size());
    for (int i = 0; i < binds.size(); ++i) {
        QCOMPARE(c.binds[i].typeId() == QMetaType::QString, binds[i].typeId() == QMetaType::QString);
        QCOMPARE(c.binds[i].toString(), binds[i].toString());
    }
}

void FilterParserTest::badFilterIsRefusedNamingIt_data() {
    QTest::addColumn<QString>("filter");
    QTest::newRow("unterminated quote") << "LogCall = 'X";
    QTest::newRow("unterminated double quote") << "LogCall = \"X";
    QTest::newRow("unknown field") << "LogCal = 'X'";
    QTest::newRow("no value") << "LogCall = ";
    QTest::newRow("no operator") << "LogCall 'X'";
    QTest::newRow("dangling AND") << "LogCall = 'X' AND";
    QTest::newRow("missing parenthesis") << "(LogCall = 'X'";
    QTest::newRow("extra parenthesis") << "LogCall = 'X')";
    QTest::newRow("impossible date") << "LogDate = #2024-13-01#";
    QTest::newRow("unterminated date") << "LogDate = #2024-03-10";
    QTest::newRow("ordering against NULL") << "LogCall < NULL";
    QTest::newRow("double equals") << "LogCall == 'X'";
    QTest::newRow("LIKE NULL") << "LogCall LIKE NULL";
    QTest::newRow("keyword as field") << "AND = 1";
    QTest::newRow("unknown operator word") << "LogCall = 'A' XOR LogCall = 'B'";
    QTest::newRow("value as a bare word") << "LogCall = UA1ABC";
    QTest::newRow("unterminated bracket") << "[LogCall = 'A'";
    QTest::newRow("semicolon") << "LogNameLog = 1; DROP TABLE Log";
}

void FilterParserTest::badFilterIsRefusedNamingIt() {
    QFETCH(QString, filter);
    try {
        FilterParser::parseFilter(filter, kColumns);
        QFAIL("accepted");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(filter), qPrintable(e.message()));
    }
}

void FilterParserTest::sortBecomesOrderBy_data() {
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QString>("orderBy");
    QTest::newRow("two fields") << "LogDate, LogTime"
                                << R"("LogDate", "LogTime")";
    QTest::newRow("descending") << "LogCall DESC"
                                << R"("LogCall" DESC)";
    QTest::newRow("mixed case and brackets") << "logcall asc,[LogDate] desc"
                                             << R"("LogCall", "LogDate" DESC)";
    QTest::newRow("empty") << ""
                           << "";
}

void FilterParserTest::sortBecomesOrderBy() {
    QFETCH(QString, sort);
    QFETCH(QString, orderBy);
    QCOMPARE(FilterParser::parseSort(sort, kColumns), orderBy);
}

void FilterParserTest::badSortIsRefusedNamingIt_data() {
    QTest::addColumn<QString>("sort");
    QTest::newRow("unknown field") << "LogDate, Nope";
    QTest::newRow("two directions") << "LogCall DESC DESC";
    QTest::newRow("trailing comma") << "LogCall,";
    QTest::newRow("missing comma") << "LogCall LogDate";
    QTest::newRow("expression") << "LogCall || 'x'";
}

void FilterParserTest::badSortIsRefusedNamingIt() {
    QFETCH(QString, sort);
    try {
        FilterParser::parseSort(sort, kColumns);
        QFAIL("accepted");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(sort), qPrintable(e.message()));
    }
}

void FilterParserTest::dateLiteralsBecomeStoredText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("ISO") << "2024-03-10"
                         << "2024-03-10";
    QTest::newRow("ISO with T and seconds") << "2024-03-10T09:05:30"
                                            << "2024-03-10 09:05:30";
    QTest::newRow("month first") << "3/10/2024"
                                 << "2024-03-10";
    QTest::newRow("day first, two-digit year") << "10.03.24"
                                               << "2024-03-10";
    QTest::newRow("two-digit year of the last century") << "10.03.95"
                                                        << "1995-03-10";
    QTest::newRow("time alone") << "9:05"
                                << "09:05:00";
    QTest::newRow("afternoon") << "03/10/2024 1:05:30 PM"
                               << "2024-03-10 13:05:30";
    QTest::newRow("midnight am") << "12:00 am"
                                 << "00:00:00";
    QTest::newRow("no such day") << "31.02.2024"
                                 << "";
    QTest::newRow("no such hour") << "25:00"
                                  << "";
    QTest::newRow("words") << "tomorrow"
                           << "";
    QTest::newRow("empty") << ""
                           << "";
}

void FilterParserTest::dateLiteralsBecomeStoredText() {
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QCOMPARE(StoredValue::dateTimeText(text), stored);
}

QTEST_GUILESS_MAIN(FilterParserTest)
#include "tst_filterparser.moc"
