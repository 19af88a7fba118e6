// The property editor window, opened from the toolbar and from the objects'
// menus: modal and gone once closed (ipfsModal), or beside the plot and on
// top of it (ipfsStayOnTop), one window at a time.

#include "plot/iPlotComponent.h"

#include "plot/iPlotEditor.h"

#include <QTimer>

#include <memory>

TiPlotEditor* TiPlotComponent::Editor() const {
    return FEditor;
}

void TiPlotComponent::ShowEditor(TiPlotObject* Object) {
    if (FEditor) {
        FEditor->SelectObject(Object);
        FEditor->raise();
        FEditor->activateWindow();
        return;
    }
    auto* Editor = new TiPlotEditor(*this);
    FEditor = Editor;
    Editor->SelectObject(Object);
    connect(Editor, &QDialog::finished, this, [this] { RaiseNotify(FEvents.OnAfterCloseEditor); });
    RaiseNotify(FEvents.OnAfterOpenEditor);
    if (FEditorFormStyle == ipfsModal) {
        const std::unique_ptr<TiPlotEditor> Owned(Editor);
        // The hook runs once the modal run has begun; it has to close the
        // editor for ShowEditor to return.
        if (FEditorShown)
            QTimer::singleShot(0, Editor, [Hook = FEditorShown, Editor] { Hook(*Editor); });
        Editor->exec();
        return;
    }
    Editor->setWindowFlag(Qt::WindowStaysOnTopHint);
    connect(Editor, &QDialog::finished, Editor, &QObject::deleteLater);
    Editor->show();
    if (FEditorShown)
        FEditorShown(*Editor);
}

void TiPlotComponent::EditorObjectsChanged(TiPlotObject* Leaving) {
    if (FEditor && !FDestroying)
        FEditor->ObjectsChanged(Leaving);
}
