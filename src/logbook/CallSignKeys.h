#pragma once
// The key map of the call-sign boxes: a lower-case Cyrillic letter becomes the Latin letter on
// the same key of a Russian keyboard, and the keys that stand for a separator give "/".

#include <QChar>
#include <QString>

QChar CallSignKeyMap(QChar typed);

// A typed call as a LIKE pattern that matches calls beginning with it: the wildcard characters
// the operator may type are taken literally.
QString callPrefixPattern(const QString& call);
