#pragma once
// The plot's property editor: the plot and its objects, grouped by kind, on
// the left; the published properties of the chosen one on the right, as the
// plot's property files hold them. Every change applies at once.

#include "components/iPropertyFile.h"
#include "platform/Types.h"
#include "plot/iPlotHost.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TiPlotComponent;

class TiPlotEditor : public QDialog {
    Q_OBJECT
  public:
    // Made by the plot's ShowEditor, which keeps its list up to date.
    explicit TiPlotEditor(TiPlotComponent& Plot);

    // Shows the object's page; nullptr (or an object the list does not hold)
    // shows the plot's own page.
    void SelectObject(TiPlotObject* Object);
    // The plot or the object whose page is shown.
    QObject* CurrentObject() const { return FCurrent; }
    // The plot's objects changed: the lists are filled again, without
    // Leaving, an object about to go.
    void ObjectsChanged(TiPlotObject* Leaving = nullptr);

    // How the colour button asks for a colour: true with the chosen colour.
    using TColorChooser = std::function<bool(TColor& Color)>;
    void SetColorChooser(TColorChooser Chooser) { FColorChooser = std::move(Chooser); }

    // The window's parts, as the user sees them.
    QTreeWidget& ObjectList() const { return *FObjects; }
    QTableWidget& Grid() const { return *FGrid; }
    // The value editor of the row with that property path ("Font.Color"), or
    // none.
    QWidget* ValueEditor(const std::string& Path) const;
    // The last refusal of a value; empty after a change that applied.
    QString Message() const;
    QPushButton& AddChannelButton() const { return *FAddChannel; }
    QPushButton& RemoveChannelButton() const { return *FRemoveChannel; }

  private:
    // One row of the grid: a published property and its value editor.
    struct TRow {
        std::string Path;
        QWidget* Editor;
    };

    void FillObjects(const TiPlotObject* Leaving);
    QTreeWidgetItem* AddObjectItem(QTreeWidgetItem* Parent, const QString& Caption,
                                   QObject* Object);
    void CurrentItemChanged(QTreeWidgetItem* Item);
    void FillGrid();
    QWidget* NewValueEditor(const std::string& Path);
    QWidget* NewColourEditor(const std::string& Path);
    void ChooseColour(const std::string& Path);
    void ShowValues();
    void ShowValue(const TRow& Row, const std::string& Text);
    // The current page's properties as the property files write them.
    std::vector<TPropertyLine> PublishedLines() const;
    void ApplyText(const std::string& Path, const QString& Text);
    void Apply(const std::string& Path, const std::string& Text);
    // Runs a change; a refusal shows its message and changes nothing.
    void Run(const std::function<void()>& Command);
    void AddChannel();
    void RemoveChannel();
    void UpdateButtons();
    QString Translated(const char* Text) const;

    TiPlotComponent& FPlot;
    QPointer<QObject> FCurrent;
    QTreeWidget* FObjects;
    QTableWidget* FGrid;
    QLabel* FMessage;
    QPushButton* FAddChannel;
    QPushButton* FRemoveChannel;
    std::vector<TRow> FRows;
    TColorChooser FColorChooser;
};
