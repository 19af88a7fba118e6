#include "plot/iPlotEditor.h"

#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotComponent.h"

#include "components/iPropertyFile.h"
#include "platform/QtGraphics.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct TListedKind {
    TiPlotKind Kind;
    const char* Caption;
};

// The groups of the object list, in the order they are listed.
constexpr TListedKind ListedKinds[] = {
    {TiPlotKind::ToolBar, "Toolbars"},      {TiPlotKind::Legend, "Legends"},
    {TiPlotKind::Table, "Tables"},          {TiPlotKind::XAxis, "X Axes"},
    {TiPlotKind::YAxis, "Y Axes"},          {TiPlotKind::Channel, "Channels"},
    {TiPlotKind::DataView, "Data Views"},   {TiPlotKind::DataCursor, "Data Cursors"},
    {TiPlotKind::Limit, "Limits"},          {TiPlotKind::Label, "Labels"},
    {TiPlotKind::Annotation, "Annotations"}};

constexpr int ObjectRole = Qt::UserRole;

QObject* ObjectOf(const QTreeWidgetItem* Item) {
    return Item ? Item->data(0, ObjectRole).value<QObject*>() : nullptr;
}

// The property a path names: "Font.Color" is the Color of the Font gadget.
QMetaProperty PropertyAt(const QObject& Object, const std::string& Path) {
    const QMetaObject* Meta = Object.metaObject();
    QMetaProperty Property;
    for (const QString& Name : QString::fromStdString(Path).split('.')) {
        if (!Meta)
            return {};
        Property = Meta->property(Meta->indexOfProperty(Name.toUtf8().constData()));
        Meta = Property.metaType().metaObject();
    }
    return Property;
}

bool IsBoolean(const QMetaProperty& Property) {
    return Property.metaType().id() == QMetaType::Bool;
}

// Colours are the only unsigned properties; their text is "$00BBGGRR".
bool IsColour(const QMetaProperty& Property) {
    return Property.metaType().id() == QMetaType::UInt;
}

// An enumeration with one value at a time; sets stay plain text.
QMetaEnum ChoiceEnumOf(const QMetaProperty& Property) {
    if (!Property.metaType().flags().testFlag(QMetaType::IsEnumeration))
        return {};
    const QMetaEnum Enum = iEnumeratorOf(Property);
    return Enum.isValid() && !Enum.isFlag() ? Enum : QMetaEnum();
}

TColor ColourOf(const std::string& Text) {
    return QString::fromStdString(Text).mid(1).toUInt(nullptr, 16);
}

QIcon Swatch(TColor Colour) {
    QPixmap Picture(16, 16);
    Picture.fill(ToQColor(Colour));
    return QIcon(Picture);
}

QLineEdit* TextEditorOf(QWidget* Editor) {
    if (auto* Edit = qobject_cast<QLineEdit*>(Editor))
        return Edit;
    return Editor->findChild<QLineEdit*>();
}

} // namespace

TiPlotEditor::TiPlotEditor(TiPlotComponent& Plot)
    : QDialog(&Plot), FPlot(Plot), FObjects(new QTreeWidget), FGrid(new QTableWidget(0, 2)),
      FMessage(new QLabel), FAddChannel(new QPushButton(Translated("Add Channel"))),
      FRemoveChannel(new QPushButton(Translated("Remove Channel"))) {
    setWindowTitle(Translated("Plot Editor"));
    resize(760, 520);

    FObjects->setHeaderHidden(true);
    FGrid->setHorizontalHeaderLabels({Translated("Property"), Translated("Value")});
    FGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    FGrid->horizontalHeader()->setStretchLastSection(true);
    FGrid->verticalHeader()->hide();
    FGrid->setSelectionMode(QAbstractItemView::NoSelection);
    FMessage->setWordWrap(true);
    FMessage->setStyleSheet("color: #b00000");

    auto* Splitter = new QSplitter;
    Splitter->addWidget(FObjects);
    Splitter->addWidget(FGrid);
    Splitter->setStretchFactor(1, 1);
    Splitter->setSizes({220, 540});
    auto* Close = new QPushButton(Translated("Close"));
    auto* Buttons = new QHBoxLayout;
    Buttons->addWidget(FAddChannel);
    Buttons->addWidget(FRemoveChannel);
    Buttons->addStretch();
    Buttons->addWidget(Close);
    auto* Layout = new QVBoxLayout(this);
    Layout->addWidget(Splitter, 1);
    Layout->addWidget(FMessage);
    Layout->addLayout(Buttons);

    connect(FObjects, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* Item) { CurrentItemChanged(Item); });
    connect(FAddChannel, &QPushButton::clicked, this, [this] { AddChannel(); });
    connect(FRemoveChannel, &QPushButton::clicked, this, [this] { RemoveChannel(); });
    connect(Close, &QPushButton::clicked, this, &QDialog::accept);
    FColorChooser = [this](TColor& Colour) {
        const QColor Chosen = QColorDialog::getColor(ToQColor(Colour), this);
        if (Chosen.isValid())
            Colour = FromQRgb(Chosen.rgb());
        return Chosen.isValid();
    };

    FillObjects(nullptr);
    SelectObject(nullptr);
}

void TiPlotEditor::SelectObject(TiPlotObject* Object) {
    QObject* Wanted = Object ? static_cast<QObject*>(Object) : &FPlot;
    QTreeWidgetItem* Plot = FObjects->topLevelItem(0);
    QTreeWidgetItem* Found = Plot;
    for (QTreeWidgetItemIterator It(FObjects); *It; ++It)
        if (ObjectOf(*It) == Wanted)
            Found = *It;
    if (Found == FObjects->currentItem())
        CurrentItemChanged(Found);
    else
        FObjects->setCurrentItem(Found);
}

void TiPlotEditor::ObjectsChanged(TiPlotObject* Leaving) {
    const bool CurrentLeaves = FCurrent == static_cast<QObject*>(Leaving);
    QObject* Keep = CurrentLeaves ? nullptr : FCurrent.data();
    {
        const QSignalBlocker Blocker(FObjects);
        FObjects->clear();
        FillObjects(Leaving);
        for (QTreeWidgetItemIterator It(FObjects); *It; ++It)
            if (Keep && ObjectOf(*It) == Keep)
                FObjects->setCurrentItem(*It);
    }
    if (CurrentLeaves)
        SelectObject(nullptr);
    UpdateButtons();
}

QWidget* TiPlotEditor::ValueEditor(const std::string& Path) const {
    for (const TRow& Row : FRows)
        if (Row.Path == Path)
            return Row.Editor;
    return nullptr;
}

QString TiPlotEditor::Message() const {
    return FMessage->text();
}

void TiPlotEditor::FillObjects(const TiPlotObject* Leaving) {
    AddObjectItem(nullptr, Translated("Plot"), &FPlot);
    for (const TListedKind& Kind : ListedKinds) {
        auto* Group = new QTreeWidgetItem(FObjects, {Translated(Kind.Caption)});
        Group->setFlags(Qt::ItemIsEnabled);
        for (TiPlotObject* Object : FPlot.Objects(Kind.Kind))
            if (Object != Leaving)
                AddObjectItem(Group, QString::fromStdString(Object->Name()), Object);
    }
    FObjects->expandAll();
}

QTreeWidgetItem* TiPlotEditor::AddObjectItem(QTreeWidgetItem* Parent, const QString& Caption,
                                             QObject* Object) {
    auto* Item =
        Parent ? new QTreeWidgetItem(Parent, {Caption}) : new QTreeWidgetItem(FObjects, {Caption});
    Item->setData(0, ObjectRole, QVariant::fromValue(Object));
    return Item;
}

void TiPlotEditor::CurrentItemChanged(QTreeWidgetItem* Item) {
    FCurrent = ObjectOf(Item);
    FMessage->clear();
    FillGrid();
    UpdateButtons();
}

void TiPlotEditor::FillGrid() {
    FRows.clear();
    FGrid->setRowCount(0);
    const std::vector<TPropertyLine> Lines = PublishedLines();
    for (const TPropertyLine& Line : Lines) {
        const int Row = FGrid->rowCount();
        FGrid->insertRow(Row);
        auto* Name = new QTableWidgetItem(QString::fromStdString(Line.Path));
        Name->setFlags(Qt::ItemIsEnabled);
        FGrid->setItem(Row, 0, Name);
        FRows.push_back({Line.Path, NewValueEditor(Line.Path)});
        FGrid->setCellWidget(Row, 1, FRows.back().Editor);
        ShowValue(FRows.back(), Line.Value);
    }
}

std::vector<TPropertyLine> TiPlotEditor::PublishedLines() const {
    if (!FCurrent)
        return {};
    try {
        if (FCurrent == static_cast<QObject*>(&FPlot))
            return iPublishedProperties(FPlot, TiComponent::staticMetaObject,
                                        FPlot.ExcludedProperties());
        return iPublishedProperties(*FCurrent, TiPlotObject::staticMetaObject, {});
    } catch (const std::exception& E) {
        FMessage->setText(QString::fromStdString(E.what()));
        return {};
    }
}

QWidget* TiPlotEditor::NewValueEditor(const std::string& Path) {
    const QMetaProperty Property = PropertyAt(*FCurrent, Path);
    if (IsBoolean(Property)) {
        auto* Check = new QCheckBox;
        connect(Check, &QCheckBox::toggled, this,
                [this, Path](bool On) { Apply(Path, On ? "True" : "False"); });
        return Check;
    }
    if (const QMetaEnum Enum = ChoiceEnumOf(Property); Enum.isValid()) {
        auto* Choice = new QComboBox;
        for (int I = 0; I < Enum.keyCount(); ++I)
            Choice->addItem(Enum.key(I));
        connect(Choice, &QComboBox::currentTextChanged, this,
                [this, Path](const QString& Name) { Apply(Path, Name.toStdString()); });
        return Choice;
    }
    if (IsColour(Property))
        return NewColourEditor(Path);
    auto* Edit = new QLineEdit;
    connect(Edit, &QLineEdit::editingFinished, this,
            [this, Path, Edit] { ApplyText(Path, Edit->text()); });
    return Edit;
}

QWidget* TiPlotEditor::NewColourEditor(const std::string& Path) {
    auto* Box = new QWidget;
    auto* Button = new QPushButton;
    auto* Edit = new QLineEdit;
    auto* Layout = new QHBoxLayout(Box);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(Button);
    Layout->addWidget(Edit, 1);
    Button->setToolTip(Translated("Choose a colour"));
    connect(Button, &QPushButton::clicked, this, [this, Path] { ChooseColour(Path); });
    connect(Edit, &QLineEdit::editingFinished, this,
            [this, Path, Edit] { ApplyText(Path, Edit->text()); });
    return Box;
}

void TiPlotEditor::ChooseColour(const std::string& Path) {
    TColor Colour = ColourOf(TextEditorOf(ValueEditor(Path))->text().toStdString());
    if (FColorChooser && FColorChooser(Colour))
        Apply(Path, std::to_string(Colour));
}

void TiPlotEditor::ShowValues() {
    const std::vector<TPropertyLine> Lines = PublishedLines();
    if (Lines.size() != FRows.size()) {
        FillGrid();
        return;
    }
    for (std::size_t I = 0; I < Lines.size(); ++I)
        ShowValue(FRows[I], Lines[I].Value);
}

void TiPlotEditor::ShowValue(const TRow& Row, const std::string& Text) {
    const QString Value = QString::fromStdString(Text);
    if (auto* Check = qobject_cast<QCheckBox*>(Row.Editor)) {
        const QSignalBlocker Blocker(Check);
        Check->setChecked(SameText(Text, "True"));
    } else if (auto* Choice = qobject_cast<QComboBox*>(Row.Editor)) {
        const QSignalBlocker Blocker(Choice);
        Choice->setCurrentIndex(Choice->findText(Value, Qt::MatchFixedString));
    } else {
        TextEditorOf(Row.Editor)->setText(Value);
        if (auto* Button = Row.Editor->findChild<QPushButton*>())
            Button->setIcon(Swatch(ColourOf(Text)));
    }
}

void TiPlotEditor::ApplyText(const std::string& Path, const QString& Text) {
    // Leaving an unchanged field is no edit: the setter is not called again.
    for (const TPropertyLine& Line : PublishedLines())
        if (Line.Path == Path && Line.Value == Text.toStdString())
            return;
    Apply(Path, Text.toStdString());
}

void TiPlotEditor::Apply(const std::string& Path, const std::string& Text) {
    if (!FCurrent)
        return;
    const QMetaObject& From = FCurrent == static_cast<QObject*>(&FPlot)
                                  ? TiComponent::staticMetaObject
                                  : TiPlotObject::staticMetaObject;
    Run([&] { iApplyProperties(*FCurrent, From, {{Path, Text}}); });
    ShowValues();
    UpdateButtons();
    FPlot.update();
}

void TiPlotEditor::Run(const std::function<void()>& Command) {
    try {
        Command();
        FMessage->clear();
    } catch (const std::exception& E) {
        FMessage->setText(QString::fromStdString(E.what()));
    }
}

void TiPlotEditor::AddChannel() {
    Run([this] { SelectObject(FPlot.Channel(FPlot.NewChannel())); });
    FPlot.update();
}

void TiPlotEditor::RemoveChannel() {
    const std::vector<TiPlotObject*> Channels = FPlot.Objects(TiPlotKind::Channel);
    const auto Found = std::find(Channels.begin(), Channels.end(), FCurrent.data());
    if (Found == Channels.end())
        return;
    const int Index = int(Found - Channels.begin());
    Run([this, Index] { FPlot.DeleteChannel(Index); });
    // The next channel takes the removed one's place in the list.
    if (FPlot.ChannelCount() > 0)
        SelectObject(FPlot.Channel(std::min(Index, FPlot.ChannelCount() - 1)));
    FPlot.update();
}

void TiPlotEditor::UpdateButtons() {
    const bool Allowed = FPlot.UserCanAddRemoveChannels();
    const auto* Object = qobject_cast<const TiPlotObject*>(FCurrent.data());
    FAddChannel->setVisible(Allowed);
    FRemoveChannel->setVisible(Allowed);
    FRemoveChannel->setEnabled(Object && Object->Kind() == TiPlotKind::Channel);
}

QString TiPlotEditor::Translated(const char* Text) const {
    return QString::fromStdString(FPlot.Translate(Text));
}
