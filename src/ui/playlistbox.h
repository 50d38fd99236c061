#pragma once

#include <QListView>

namespace tarvelo::ui {

class PlaylistRowModel;

// The playlist box: one text row per track, kept in the order added, single selection.
// The selection is a row number from 0, or -1 for none; writing it clamps to -1 .. rows - 1,
// and with no rows any value selects nothing. Rows and selection written by the program
// raise none of the signals below: they report only what the user did.
class PlaylistBox final : public QListView
{
    Q_OBJECT

public:
    explicit PlaylistBox(QWidget *parent = nullptr);
    ~PlaylistBox() override;

    int rowCount() const;
    QString rowText(int row) const;

    int selection() const;
    void setSelection(int row);

    void clearRows();
    void appendRows(const QStringList &rows);
    void setRows(QStringList rows);

    // Files dropped from a file manager arrive as one text: their local paths, one path
    // alone, several each followed by "\r\n". Enabled by setAcceptDrops(true).
signals:
    void leftButtonPressed();
    void rowDoubleClicked(int row);
    void keyPressed(int key);
    void rightButtonReleased(const QPoint &globalPos);
    void filesDropped(const QString &dropText);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    PlaylistRowModel *model_;
};

} // namespace tarvelo::ui
