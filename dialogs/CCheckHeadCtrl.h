#pragma once

#include <QHeaderView>
#include <QList>
#include <QPixmap>

// The header of a CCheckListCtrl. Once it has its images, section 0 shows one of them and a
// click on that section hands the new state to the model as its first column's header check
// state, which ticks or clears every row. Until then it is a plain header that ignores
// clicks. GUI thread only.
class CCheckHeadCtrl : public QHeaderView {
    Q_OBJECT
public:
    enum Image { Blank = 0, EmptyBox = 1, TickedBox = 2 };

    explicit CCheckHeadCtrl(QWidget* parent = nullptr);

    // Takes the three images (blank, empty box, ticked box), shows the empty box and starts
    // acting on clicks.
    void setImageList(const QList<QPixmap>& images);

    int image() const { return image_; }
    void setImage(int image);

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

private:
    void onSectionClicked(int logicalIndex);

    QList<QPixmap> images_;
    int image_ = Blank;
};
