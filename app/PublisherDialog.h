#pragma once
// The publisher's settings as the user keeps them (QSettings), and the small
// dialog that edits them.

#include "app/Publisher.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

TPublisherSettings LoadPublisherSettings();
void SavePublisherSettings(const TPublisherSettings& Settings);

class TPublisherDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TPublisherDialog(const TPublisherSettings& Settings, QWidget* Parent = nullptr);

    TPublisherSettings Settings() const;
    // Accepts only settings that the publisher takes; otherwise the dialog
    // stays open and says what is wrong.
    void accept() override;

  private:
    QCheckBox* FEnabled;
    QLineEdit* FUrl;
    QLineEdit* FTopic;
    QLineEdit* FCaFile;
    QSpinBox* FQueueSize;
    QLabel* FError;
};
