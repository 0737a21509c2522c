#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace store {

// What the main window shows of the current dish only: its description and picture.
struct DishDetails {
    QString description;
    QByteArray picture;  // a Windows bitmap, or empty
};

DishDetails readDishDetails(const QString& dataFolder, const QVariant& code);

}  // namespace store
