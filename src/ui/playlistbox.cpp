#include "ui/playlistbox.h"

#include <QAbstractListModel>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QUrl>

#include <algorithm>

namespace tarvelo::ui {

// The rows: a run of track rows made on demand from a shared list of paths, then rows given
// as ready texts. Nothing is stored per track row, so filling the box with a long playlist
// costs neither time nor memory in proportion to the length of the names; with uniform row
// heights the view asks only for the texts of the rows it paints.
class PlaylistRowModel final : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(tracks_.size() + texts_.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return text(index.row());
    }

    QString text(int row) const
    {
        if (row < 0)
            return {};
        if (row < tracks_.size())
            return rowText_(row + 1, tracks_.at(row));
        const qsizetype tail = row - tracks_.size();
        return tail < texts_.size() ? texts_.at(tail) : QString();
    }

    void reset(QStringList tracks, PlaylistBox::RowTextFunction rowText, QStringList texts)
    {
        beginResetModel();
        tracks_ = std::move(tracks);
        rowText_ = rowText;
        texts_ = std::move(texts);
        endResetModel();
    }

    void append(const QStringList &more)
    {
        if (more.isEmpty())
            return;
        const int first = rowCount();
        beginInsertRows({}, first, first + static_cast<int>(more.size()) - 1);
        texts_.append(more);
        endInsertRows();
    }

private:
    QStringList tracks_;
    PlaylistBox::RowTextFunction rowText_ = nullptr;
    QStringList texts_;
};

namespace {

// Rows one pixel taller than a line of the font, with no margin around the text.
class RowDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(option.fontMetrics.height() + 1);
        return size;
    }
};

bool holdsLocalFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return false;
    const QList<QUrl> urls = mime->urls();
    return std::any_of(urls.cbegin(), urls.cend(), [](const QUrl &u) { return u.isLocalFile(); });
}

} // namespace

PlaylistBox::PlaylistBox(QWidget *parent)
    : QListView(parent)
    , model_(new PlaylistRowModel(this))
{
    setModel(model_);
    setItemDelegate(new RowDelegate(this));
    // Every row has the height of the first, so the view lays out a long list without
    // measuring each row.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Long names are cut at the edge, as a plain list box does, rather than shortened with "…".
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    setSpacing(0);
    // Drops are handled here, not by the item view's own row moving.
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setDropIndicatorShown(false);
    setAcceptFileDrops(false);
}

PlaylistBox::~PlaylistBox() = default;

int PlaylistBox::rowCount() const
{
    return model_->rowCount();
}

QString PlaylistBox::rowText(int row) const
{
    return model_->text(row);
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
    model_->reset({}, nullptr, {});
}

void PlaylistBox::appendRows(const QStringList &rows)
{
    model_->append(rows);
}

void PlaylistBox::setRows(QStringList rows)
{
    model_->reset({}, nullptr, std::move(rows));
}

void PlaylistBox::setTrackRows(const QStringList &paths, RowTextFunction rowText)
{
    if (!rowText) {
        clearRows();
        return;
    }
    model_->reset(paths, rowText, {});
}

void PlaylistBox::setAcceptFileDrops(bool on)
{
    // Drag events land on the viewport, the child that covers the rows.
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
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
    // Refusing a drag with no local file up front shows the user the "no drop" cursor,
    // instead of taking a drop that would then do nothing.
    if (holdsLocalFile(e->mimeData()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void PlaylistBox::dragMoveEvent(QDragMoveEvent *e)
{
    if (holdsLocalFile(e->mimeData()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void PlaylistBox::dropEvent(QDropEvent *e)
{
    const QMimeData *mime = e->mimeData();
    QStringList paths;
    if (mime && mime->hasUrls()) {
        const QList<QUrl> urls = mime->urls();
        paths.reserve(urls.size());
        for (const QUrl &url : urls) {
            if (url.isLocalFile())
                paths.append(url.toLocalFile());
        }
    }
    if (paths.isEmpty()) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    if (paths.size() == 1) {
        emit filesDropped(paths.first());
        return;
    }
    const QString separator = QStringLiteral("\r\n");
    qsizetype length = 0;
    for (const QString &p : std::as_const(paths))
        length += p.size() + separator.size();
    QString text;
    text.reserve(length);
    for (const QString &p : std::as_const(paths)) {
        text += p;
        text += separator;
    }
    emit filesDropped(text);
}

} // namespace tarvelo::ui
