#include "app/QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace m7410 {

void QtDialogs::message(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("M_7410"), text);
}

void QtDialogs::error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("M_7410"), text);
}

QString QtDialogs::openFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& defaultName,
                                const QString& filter) {
    return QFileDialog::getSaveFileName(parent, QString(), defaultName, filter);
}

} // namespace m7410
