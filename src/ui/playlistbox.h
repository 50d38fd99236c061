#pragma once

#include <QListView>
#include <QStringList>

namespace tarvelo::ui {

class PlaylistRowModel;

// The playlist box: one text row per track, kept in the order added, single selection.
// The selection is a row number from 0, or -1 for none; writing it clamps to -1 .. rows - 1,
// and with no rows any value selects nothing. Rows and selection written by the program
// raise none of the signals below: they report only what the user did.
//
// Rows come in two runs: track rows, whose texts are made from a list of paths only when
// they are asked for (shown, read by rowText or by the accessibility tree), followed by rows
// appended as ready texts. Every row is one line of the font's height plus one pixel.
class PlaylistBox final : public QListView
{
    Q_OBJECT

public:
    // Makes the text of the row of track `trackNumber` (from 1) out of the track's path.
    using RowTextFunction = QString (*)(int trackNumber, const QString &path);

    explicit PlaylistBox(QWidget *parent = nullptr);
    ~PlaylistBox() override;

    int rowCount() const;
    QString rowText(int row) const;

    int selection() const;
    void setSelection(int row);

    // Each of these replaces or extends the rows; the replacing ones clear the selection.
    void clearRows();
    void appendRows(const QStringList &rows);
    void setRows(QStringList rows);
    // Replaces all rows by one row per path, row r showing rowText(r + 1, paths[r]). The
    // list is kept as an implicitly shared copy, so this costs no copy of the paths while the
    // caller's list stays unchanged, and later changes to it do not reach the rows.
    void setTrackRows(const QStringList &paths, RowTextFunction rowText);

    // Whether files dragged from a file manager can be dropped here. Only local files are
    // taken (file:// URLs of text/uri-list); a drag that holds none is refused.
    void setAcceptFileDrops(bool on);

signals:
    void leftButtonPressed();
    void rowDoubleClicked(int row);
    void keyPressed(int key);
    void rightButtonReleased(const QPoint &globalPos);
    // The local paths of a drop, in the order the drag gave them: one path alone, several
    // each followed by "\r\n".
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
