#include "app/PublisherDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

TPublisherSettings LoadPublisherSettings() {
    QSettings Stored;
    TPublisherSettings S;
    S.Enabled = Stored.value("mqtt/enabled", false).toBool();
    S.Url = Stored.value("mqtt/url").toString().toStdString();
    S.TopicPrefix = Stored.value("mqtt/topic").toString().toStdString();
    S.CaFile = Stored.value("mqtt/ca").toString().toStdString();
    const qulonglong Size = Stored.value("mqtt/queue", qulonglong(S.QueueSize)).toULongLong();
    // An edited file with a size out of range gets the default.
    if (Size >= 1 && Size <= MaxQueueSize)
        S.QueueSize = Size;
    return S;
}

void SavePublisherSettings(const TPublisherSettings& S) {
    QSettings Stored;
    Stored.setValue("mqtt/enabled", S.Enabled);
    Stored.setValue("mqtt/url", QString::fromStdString(S.Url));
    Stored.setValue("mqtt/topic", QString::fromStdString(S.TopicPrefix));
    Stored.setValue("mqtt/ca", QString::fromStdString(S.CaFile));
    Stored.setValue("mqtt/queue", qulonglong(S.QueueSize));
}

TPublisherDialog::TPublisherDialog(const TPublisherSettings& S, QWidget* Parent)
    : QDialog(Parent), FEnabled(new QCheckBox("Publish every sample to an MQTT broker", this)),
      FUrl(new QLineEdit(QString::fromStdString(S.Url), this)),
      FTopic(new QLineEdit(QString::fromStdString(S.TopicPrefix), this)),
      FCaFile(new QLineEdit(QString::fromStdString(S.CaFile), this)),
      FQueueSize(new QSpinBox(this)), FError(new QLabel(this)) {
    setWindowTitle("MQTT publishing");
    setObjectName("PublisherDialog");
    FEnabled->setObjectName("Enabled");
    FUrl->setObjectName("Url");
    FTopic->setObjectName("Topic");
    FCaFile->setObjectName("CaFile");
    FQueueSize->setObjectName("QueueSize");
    FError->setObjectName("Error");
    FEnabled->setChecked(S.Enabled);
    FUrl->setPlaceholderText("mqtt://host:1883 or mqtts://host:8883");
    FTopic->setPlaceholderText(QString::fromStdString(DefaultTopicPrefix()));
    FCaFile->setPlaceholderText("the system's certificates (mqtts:// only)");
    FQueueSize->setRange(1, int(MaxQueueSize));
    FQueueSize->setValue(int(S.QueueSize));
    FQueueSize->setSuffix(" samples");
    // Room for a whole broker address and the placeholders.
    FUrl->setMinimumWidth(FUrl->fontMetrics().horizontalAdvance(FCaFile->placeholderText()) + 24);
    FError->setWordWrap(true);
    FError->setStyleSheet("color: #b00000");

    auto* Form = new QFormLayout;
    Form->addRow("Broker:", FUrl);
    Form->addRow("Topic prefix:", FTopic);
    Form->addRow("CA file:", FCaFile);
    Form->addRow("Queue while away:", FQueueSize);
    auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(Buttons, &QDialogButtonBox::accepted, this, &TPublisherDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &TPublisherDialog::reject);
    auto* Layout = new QVBoxLayout(this);
    Layout->addWidget(FEnabled);
    Layout->addLayout(Form);
    Layout->addWidget(FError);
    Layout->addWidget(Buttons);
}

TPublisherSettings TPublisherDialog::Settings() const {
    TPublisherSettings S;
    S.Enabled = FEnabled->isChecked();
    S.Url = FUrl->text().trimmed().toStdString();
    S.TopicPrefix = FTopic->text().trimmed().toStdString();
    S.CaFile = FCaFile->text().trimmed().toStdString();
    S.QueueSize = std::size_t(FQueueSize->value());
    return S;
}

void TPublisherDialog::accept() {
    const TPublisherSettings S = Settings();
    // Switched off, the other fields are kept as typed for next time.
    if (S.Enabled) {
        try {
            CheckPublisherSettings(S);
        } catch (const std::exception& E) {
            FError->setText(E.what());
            return;
        }
    }
    QDialog::accept();
}
