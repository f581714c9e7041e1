#include "ui/common/ChosenFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace velmor {

namespace {

// The reader's message as the user sees it: a file that is no simulation
// file gets the warning alone, any other refusal its line number too.
QString RefusalText(const SimFileError& error)
{
    if (error.line == 1 && error.message == kNotASimulationFile) {
        // The same English warning in both languages.
        return QString::fromUtf8(kNotASimulationFile.data(),
                                 static_cast<qsizetype>(kNotASimulationFile.size()));
    }
    return QString::fromStdString(error.text());
}

// The file read and checked for the open exercise: the reader's result, or
// in `refusal` why the file could not be read at all.
SimFileResult ReadFile(const QString& path, const ShellState& shell, QString& refusal)
{
    std::string text;
    const ReadResult read = ReadSimFileBytes(QFile::encodeName(path).toStdString(), text);
    if (!read.ok()) {
        const char* english = QT_TRANSLATE_NOOP("FileCommands", "Cannot read %1.");
        if (read.fault == ReadFault::NotRegular) {
            english =
                QT_TRANSLATE_NOOP("FileCommands", "Cannot read %1: it is not a regular file.");
        } else if (read.fault == ReadFault::TooLarge) {
            english = QT_TRANSLATE_NOOP(
                "FileCommands", "Cannot read %1: it is larger than a simulation file can be.");
        }
        refusal =
            QCoreApplication::translate("FileCommands", english).arg(QFileInfo(path).fileName());
        return {};
    }
    SimFileReadOptions options;
    options.currentForm = shell.currentForm;
    options.decimalComma = shell.decimalComma;
    SimFileResult result = ReadSimulationText(text, options);
    if (!result.ok()) {
        refusal = RefusalText(result.error);
    }
    return result;
}

} // namespace

ChosenFile ReadChosenFile(const QString& path, const ShellState& shell)
{
    ChosenFile chosen;
    SimFileResult result = ReadFile(path, shell, chosen.refusal);
    if (result.ok()) {
        chosen.load = std::move(result.load);
    }
    return chosen;
}

} // namespace velmor
