#include "app/qt/UnsendableMarks.h"

#include <QColor>
#include <QEvent>
#include <QHelpEvent>
#include <QList>
#include <QRect>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolTip>

#include "ui/Texts.h"
#include "ui/qt/Controls.h"

namespace tarvelo {

UnsendableMarks::UnsendableMarks(QTextEdit* box) : QObject(box), box_(box) {
    box->viewport()->installEventFilter(this);
}

void UnsendableMarks::Mark(const std::vector<std::size_t>& characters) {
    if (characters.empty() && box_->extraSelections().isEmpty()) {
        return;
    }
    QTextCharFormat wavy;
    wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    wavy.setUnderlineColor(Qt::red);
    QList<QTextEdit::ExtraSelection> marks;
    marks.reserve(static_cast<qsizetype>(characters.size()));
    const QString text = box_->document()->toPlainText();
    // Indexes count code points; the document counts UTF-16 units, two for an emoji.
    qsizetype position = 0;
    std::size_t index = 0;
    for (const std::size_t wanted : characters) {
        for (; index < wanted && position < text.size(); ++index) {
            position += text[position].isHighSurrogate() ? 2 : 1;
        }
        if (position >= text.size()) {
            break;
        }
        QTextCursor cursor(box_->document());
        cursor.setPosition(static_cast<int>(position));
        cursor.setPosition(static_cast<int>(position + (text[position].isHighSurrogate() ? 2 : 1)),
                           QTextCursor::KeepAnchor);
        marks.push_back({cursor, wavy});
    }
    box_->setExtraSelections(marks);
}

bool UnsendableMarks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QObject::eventFilter(watched, event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const int at = box_->cursorForPosition(help->pos()).position();
    for (const QTextEdit::ExtraSelection& mark : box_->extraSelections()) {
        if (at < mark.cursor.selectionStart() || at > mark.cursor.selectionEnd()) {
            continue;
        }
        // The cursor lands before or after the character under the mouse, whichever is nearer:
        // only the character's own cell counts.
        QTextCursor start(mark.cursor);
        start.setPosition(mark.cursor.selectionStart());
        QTextCursor end(mark.cursor);
        end.setPosition(mark.cursor.selectionEnd());
        const QRect left = box_->cursorRect(start);
        const QRect right = box_->cursorRect(end);
        QRect cell(left.topLeft(), QPoint(right.left(), left.bottom()));
        if (right.top() != left.top()) {
            cell.setRight(box_->viewport()->width());  // a line break, or the end of a row
        }
        if (!cell.contains(help->pos())) {
            continue;
        }
        QString character = mark.cursor.selectedText();
        if (character == QChar::ParagraphSeparator) {
            character = Text(texts::kLineBreak);
        }
        QToolTip::showText(help->globalPos(),
                           Text(texts::Unsendable(character.toUtf8().toStdString())),
                           box_->viewport());
        return true;
    }
    QToolTip::hideText();
    return true;
}

}  // namespace tarvelo
