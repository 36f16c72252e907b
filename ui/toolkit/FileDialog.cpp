#include "ui/toolkit/FileDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include "core/files/FileType.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/toolkit/Settings.h"

namespace vexaline::platform {

QStringList NameFilters(const char* filter) {
    // "描述 (*.a)|*.a|描述2 (*.b)|*.b||": pairs of a description and its
    // patterns. Qt takes the patterns from the parentheses of the description.
    const QStringList parts = QString::fromUtf8(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& patterns = parts[i + 1];
        if (description.isEmpty()) break;  // the closing "||"
        const QString inParentheses = QLatin1Char('(') + patterns + QLatin1Char(')');
        filters << (description.endsWith(inParentheses) ? description
                                                        : description + QLatin1Char(' ') + inParentheses);
    }
    return filters;
}

namespace {

// After the accept mode is set: setting it makes the buttons afresh. The
// dialog starts in the folder last used for this kind of file.
void Prepare(QFileDialog& dialog, const char* filter) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QString folder = LastFolder(filter);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog.setDirectory(folder);
    dialog.setNameFilters(NameFilters(filter));
    dialog.setLabelText(QFileDialog::LookIn, QString::fromUtf8(text::kLookInLabel));
    dialog.setLabelText(QFileDialog::FileName, QString::fromUtf8(text::kFileNameLabel));
    dialog.setLabelText(QFileDialog::FileType, QString::fromUtf8(text::kFileTypeLabel));
    dialog.setLabelText(QFileDialog::Reject, QString::fromUtf8(text::kButtonCancel));
}

// The file chosen; its folder is remembered for the next dialog of the kind.
FileChoice Chosen(const QFileDialog& dialog, const char* filter) {
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) return FileChoice();
    FileChoice choice = ChoiceOf(files.front());
    if (choice.strPath.empty()) return choice;
    choice.nType = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.nType < 1) choice.nType = 1;
    RememberFolder(filter, QFileInfo(files.front()).absolutePath());
    return choice;
}

}  // namespace

FileChoice PickFileToOpen(QWidget* owner, const char* filter) {
    QFileDialog dialog(owner, QString::fromUtf8(text::kOpenCaption));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);  // a new name may be typed
    Prepare(dialog, filter);
    dialog.setLabelText(QFileDialog::Accept, QString::fromUtf8(text::kOpenButton));
    if (dialog.exec() != QDialog::Accepted) return FileChoice();
    return Chosen(dialog, filter);
}

FileChoice PickFileToSave(QWidget* owner, const char* filter, const std::string& proposedName,
                          const char* defaultExtension) {
    QFileDialog dialog(owner, QString::fromUtf8(text::kSaveAsCaption));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    Prepare(dialog, filter);
    dialog.setLabelText(QFileDialog::Accept, QString::fromUtf8(text::kSaveButton));
    // The replace question is asked below, in the window's own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (defaultExtension) dialog.setDefaultSuffix(QString::fromUtf8(defaultExtension).remove(QLatin1Char('.')));
    // With several types the default extension is the chosen type's own.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, defaultExtension](const QString& f) {
        const int star = f.indexOf(QLatin1String("*."));
        if (!defaultExtension || star < 0) return;
        QString suffix = f.mid(star + 2);
        const int end = suffix.indexOf(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
        if (end >= 0) suffix.truncate(end);
        if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
    });
    if (!proposedName.empty()) dialog.selectFile(QString::fromStdString(proposedName));
    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return FileChoice();
        FileChoice choice = Chosen(dialog, filter);
        if (choice.strPath.empty()) return choice;
        if (!QFileInfo::exists(QFile::decodeName(choice.strPath.c_str()))) return choice;
        const std::string question = Format(text::kAskReplaceFile, choice.strName.c_str());
        if (AskYesNo(&dialog, question.c_str())) return choice;
        // No: the dialog comes back so another name can be chosen.
    }
}

FileChoice ChoiceOf(const QString& path) {
    FileChoice choice;
    const QFileInfo info(path);
    if (info.fileName().isEmpty()) return choice;
    choice.strName = info.fileName().toStdString();
    choice.strPath = QFile::encodeName(info.absoluteFilePath()).toStdString();
    choice.nType = 1;
    return choice;
}

std::string NameForDisplay(const std::string& utf8) { return Utf8ToGbkLossy(utf8); }

bool OpenedOrTold(QWidget* owner, OpenOutcome outcome, const std::string& shown) {
    switch (outcome) {
    case OpenOutcome::Opened:
    case OpenOutcome::Created: return true;
    case OpenOutcome::Cancelled: break;
    case OpenOutcome::Unreadable: Warn(owner, Format(text::kCannotRead, shown.c_str()).c_str()); break;
    case OpenOutcome::CannotWrite: Warn(owner, Format(text::kCannotWrite, shown.c_str()).c_str()); break;
    }
    return false;
}

std::string PathForDisplay(const std::string& path) { return QFile::decodeName(path.c_str()).toStdString(); }

int ChosenType(QWidget* owner, FileChoice& choice, const char* filter, const std::vector<std::string>& extensions,
               const char* proposedExtension) {
    const NamedType named = TypeOfName(choice.strName, choice.nType, extensions, proposedExtension);
    const QStringList types = NameFilters(filter);
    if (named.bAsk) {
        const std::string question = Format(text::kAskTypeByName, choice.strName.c_str(),
                                            types.value(choice.nType - 1).toStdString().c_str(),
                                            types.value(named.nType - 1).toStdString().c_str());
        if (!AskYesNo(owner, question.c_str())) return 0;
    }
    if (named.bReplaceExtension) {
        const char* extension = extensions[named.nType - 1].c_str();
        choice.strPath = WithExtension(choice.strPath, extension);
        choice.strName = WithExtension(choice.strName, extension);
        // The dialog asked about the name it proposed; this is another file.
        if (QFileInfo::exists(QFile::decodeName(choice.strPath.c_str())) &&
            !AskYesNo(owner, Format(text::kAskReplaceFile, choice.strName.c_str()).c_str()))
            return 0;
    }
    choice.nType = named.nType;
    return named.nType;
}

}  // namespace vexaline::platform
