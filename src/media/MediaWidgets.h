#pragma once
// Small control makers shared by the media windows.

#include <QPushButton>
#include <QString>

template <class W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

inline QPushButton* mediaButton(QWidget* parent, const QString& name, const QString& caption) {
    return named(new QPushButton(caption, parent), name);
}
