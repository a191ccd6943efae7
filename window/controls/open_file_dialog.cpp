#include "window/controls/open_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace sorinel::window {

QStringList nameFiltersFrom(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype k = 0; k + 1 < parts.size(); k += 2) {
        QStringList patterns;
        for (const QString& p : parts[k + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            patterns << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        result << QStringLiteral("%1 (%2)").arg(parts[k], patterns.join(u' '));
    }
    return result;
}

OpenFileDialog::OpenFileDialog(QWidget* parent) : parent_(parent) {}

void OpenFileDialog::setFilter(const QString& filter) { filter_ = filter; }

bool OpenFileDialog::showOpen() {
    QFileDialog dialog(parent_, title_, initDir_.isEmpty() ? QDir::currentPath() : initDir_);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = nameFiltersFrom(filter_);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return false;
    fileName_ = chosen.first();
    fileTitle_ = QFileInfo(fileName_).fileName();
    return true;
}

}  // namespace sorinel::window
