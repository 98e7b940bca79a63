#include "data/UConfig.h"
#include "data/UGlobal.h"
#include "dataset/DbError.h"

#include <QComboBox>

bool MessagesInRussian() {
    // The box, not the stored value: a language picked but not yet saved already counts.
    return FConfig && FConfig->ComboBoxLanguage &&
           FConfig->ComboBoxLanguage->currentText() == QLatin1String("Russian");
}

QString Msg(const QString& english, const QString& russian) {
    return MessagesInRussian() ? russian : english;
}

QString PlainWordsForError(const std::exception& e) {
    struct Words {
        DbError::Kind kind;
        const char* english;
        const char* russian;
    };
    static const Words words[] = {
        {DbError::Kind::DiskFull,
         "The disk is full, so this change was not saved: make room on the disk and try again.",
         "Диск переполнен, поэтому это изменение не сохранено: освободите место на диске и повторите."},
        {DbError::Kind::DiskIo,
         "The disk failed to write, so this change was not saved: check the disk and that the file may be "
         "changed, then try again.",
         "Диск не смог выполнить запись, поэтому это изменение не сохранено: проверьте диск и разрешение на "
         "изменение файла и повторите."},
        {DbError::Kind::ReadOnly,
         "The database file may only be read, so this change was not saved: allow changes to the file and "
         "its "
         "folder, then try again.",
         "Файл базы данных открыт только для чтения, поэтому это изменение не сохранено: разрешите изменение "
         "файла и его папки и повторите."},
        {DbError::Kind::Moved,
         "The database file was deleted or moved while the program was running, so this change was not "
         "saved: "
         "put the file back in its place and start the program again.",
         "Файл базы данных был удалён или перемещён во время работы программы, поэтому это изменение не "
         "сохранено: верните файл на место и запустите программу снова."},
        {DbError::Kind::CannotOpen,
         "The database file could not be opened, so nothing in it was read or changed: check that the disk "
         "can "
         "be read and has room, then start the program again.",
         "Не удалось открыть файл базы данных, поэтому в нём ничего не прочитано и не изменено: проверьте, "
         "что "
         "диск читается и на нём есть место, и запустите программу снова."},
    };
    const auto* db = dynamic_cast<const DbError*>(&e);
    if (!db) return {};
    for (const Words& w : words)
        if (w.kind == db->kind()) return Msg(QString::fromUtf8(w.english), QString::fromUtf8(w.russian));
    return {};
}
