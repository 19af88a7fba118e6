#include "app/UserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

void TQtDialogs::ShowMessage(const std::string& Text) {
    QMessageBox::information(FParent, QApplication::applicationName(),
                             QString::fromStdString(Text));
}

bool TQtDialogs::Confirm(const std::string& Text) {
    // No is the default: Return alone never replaces anything.
    return QMessageBox::question(FParent, QApplication::applicationName(),
                                 QString::fromStdString(Text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

bool TQtDialogs::ExecuteSave(const std::string& InitialName, std::string& FileName) {
    return Execute(true, InitialName, FileName);
}

bool TQtDialogs::ExecuteOpen(const std::string& InitialName, std::string& FileName) {
    return Execute(false, InitialName, FileName);
}

bool TQtDialogs::Execute(bool Save, const std::string& InitialName, std::string& FileName) {
    QFileDialog Dialog(FParent);
    // No filter list and no default extension: the name is taken as typed.
    // The window asks before replacing a file.
    Dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    Dialog.setAcceptMode(Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    Dialog.setFileMode(Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    Dialog.selectFile(QString::fromStdString(InitialName));
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty())
        return false;
    FileName = Dialog.selectedFiles().first().toStdString();
    return true;
}
