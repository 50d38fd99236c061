#include "ui/playlistbox.h"

#include <QAbstractListModel>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace tarvelo::ui {

// The rows as plain texts. The view asks only for the rows it shows, and with uniform row
// heights it never measures the others, so long lists stay cheap to fill.
class PlaylistRowModel final : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows.size())
            return {};
        return rows.at(index.row());
    }

    void reset(QStringList newRows)
    {
        beginResetModel();
        rows = std::move(newRows);
        endResetModel();
    }

    void append(const QStringList &more)
    {
        if (more.isEmpty())
            return;
        beginInsertRows({}, static_cast<int>(rows.size()),
                        static_cast<int>(rows.size() + more.size() - 1));
        rows.append(more);
        endInsertRows();
    }

    QStringList rows;
};

PlaylistBox::PlaylistBox(QWidget *parent)
    : QListView(parent)
    , model_(new PlaylistRowModel(this))
{
    setModel(model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false);
    setAcceptDrops(false);
}

PlaylistBox::~PlaylistBox() = default;

int PlaylistBox::rowCount() const
{
    return model_->rowCount();
}

QString PlaylistBox::rowText(int row) const
{
    return row >= 0 && row < model_->rows.size() ? model_->rows.at(row) : QString();
}

int PlaylistBox::selection() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

void PlaylistBox::setSelection(int row)
{
    const int rows = rowCount();
    if (rows == 0 || row < 0) {
        clearSelection();
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::Clear);
        return;
    }
    const QModelIndex index = model_->index(qMin(row, rows - 1));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void PlaylistBox::clearRows()
{
    model_->reset({});
}

void PlaylistBox::appendRows(const QStringList &rows)
{
    model_->append(rows);
}

void PlaylistBox::setRows(QStringList rows)
{
    model_->reset(std::move(rows));
}

void PlaylistBox::mousePressEvent(QMouseEvent *e)
{
    QListView::mousePressEvent(e);
    if (e->button() == Qt::LeftButton)
        emit leftButtonPressed();
}

void PlaylistBox::mouseReleaseEvent(QMouseEvent *e)
{
    QListView::mouseReleaseEvent(e);
    if (e->button() == Qt::RightButton)
        emit rightButtonReleased(e->globalPosition().toPoint());
}

void PlaylistBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    QListView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) {
        const QModelIndex index = indexAt(e->position().toPoint());
        if (index.isValid())
            emit rowDoubleClicked(index.row());
    }
}

void PlaylistBox::keyPressEvent(QKeyEvent *e)
{
    QListView::keyPressEvent(e);
    emit keyPressed(e->key());
}

void PlaylistBox::dragEnterEvent(QDragEnterEvent *e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
    else
        e->ignore();
}

void PlaylistBox::dragMoveEvent(QDragMoveEvent *e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
    else
        e->ignore();
}

void PlaylistBox::dropEvent(QDropEvent *e)
{
    QStringList paths;
    for (const QUrl &url : e->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    e->acceptProposedAction();
    if (paths.isEmpty())
        return;
    emit filesDropped(paths.size() == 1
                          ? paths.first()
                          : paths.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace tarvelo::ui
