// The tuning map window's files: the picture as PNG, the cells as CSV.
#include "ui/analysis/TuningMapWindow.h"

#include "core/rundata/AtomicFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace velmor {

namespace {

const QSize kExportSize{720, 520};

QString TuningMapWindowFilesTr(const char* source)
{
    return QCoreApplication::translate("TuningMapWindow", source);
}

} // namespace

QImage TuningMapWindow::picture(qreal ratio) const
{
    return PaintTuningMap(m_map, m_view, kExportSize, ratio);
}

QString TuningMapWindow::exportPng(const QString& path, qreal ratio) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture(ratio).save(&buffer, "PNG");
    const WriteResult r = WriteFileAtomically(QFile::encodeName(path).toStdString(),
                                              std::string(bytes.constData(), bytes.size()));
    return r.ok() ? QString() : QString::fromStdString(r.error);
}

QString TuningMapWindow::exportCsv(const QString& path) const
{
    const WriteResult r = WriteFileAtomically(QFile::encodeName(path).toStdString(), m_map.csv());
    return r.ok() ? QString() : QString::fromStdString(r.error);
}

void TuningMapWindow::exportPngClick(qreal ratio)
{
    QString path = QFileDialog::getSaveFileName(
        this, TuningMapWindowFilesTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Export PNG")), QString(),
        TuningMapWindowFilesTr(QT_TRANSLATE_NOOP("TuningMapWindow", "PNG pictures (*.png)")));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        path += QLatin1String(".png");
    }
    if (const QString refused = exportPng(path, ratio); !refused.isEmpty()) {
        QMessageBox::warning(
            this, windowTitle(),
            TuningMapWindowFilesTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Could not write %1: %2"))
                .arg(path, refused));
    }
}

void TuningMapWindow::exportCsvClick()
{
    QString path = QFileDialog::getSaveFileName(
        this, TuningMapWindowFilesTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Export CSV")), QString(),
        TuningMapWindowFilesTr(QT_TRANSLATE_NOOP("TuningMapWindow", "CSV files (*.csv)")));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
        path += QLatin1String(".csv");
    }
    if (const QString refused = exportCsv(path); !refused.isEmpty()) {
        QMessageBox::warning(
            this, windowTitle(),
            TuningMapWindowFilesTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Could not write %1: %2"))
                .arg(path, refused));
    }
}

} // namespace velmor
