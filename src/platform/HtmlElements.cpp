#include "platform/HtmlElements.h"

#include "platform/Cp1251.h"

#include <QRegularExpression>
#include <gumbo.h>
#include <vector>

namespace {

// Pieces of an element's text before it is laid out: text runs, hard breaks (<br>) and the
// soft breaks that stand around block elements (at most one line break between two blocks).
struct Piece {
    enum Kind { Text, Hard, Soft } kind;
    QString text;
    bool pre = false;
};

bool isBlock(GumboTag t) {
    switch (t) {
    case GUMBO_TAG_ADDRESS: case GUMBO_TAG_ARTICLE: case GUMBO_TAG_ASIDE: case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_BODY: case GUMBO_TAG_CENTER: case GUMBO_TAG_DD: case GUMBO_TAG_DIV: case GUMBO_TAG_DL:
    case GUMBO_TAG_DT: case GUMBO_TAG_FIELDSET: case GUMBO_TAG_FOOTER: case GUMBO_TAG_FORM: case GUMBO_TAG_H1:
    case GUMBO_TAG_H2: case GUMBO_TAG_H3: case GUMBO_TAG_H4: case GUMBO_TAG_H5: case GUMBO_TAG_H6:
    case GUMBO_TAG_HEADER: case GUMBO_TAG_HR: case GUMBO_TAG_LI: case GUMBO_TAG_NAV: case GUMBO_TAG_OL:
    case GUMBO_TAG_P: case GUMBO_TAG_PRE: case GUMBO_TAG_SECTION: case GUMBO_TAG_TABLE: case GUMBO_TAG_TR:
    case GUMBO_TAG_UL: case GUMBO_TAG_CAPTION: case GUMBO_TAG_TITLE:
        return true;
    default:
        return false;
    }
}

bool isHidden(GumboTag t) {
    return t == GUMBO_TAG_SCRIPT || t == GUMBO_TAG_STYLE || t == GUMBO_TAG_NOSCRIPT;
}

void collect(const GumboNode* node, bool pre, std::vector<Piece>& out) {
    switch (node->type) {
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE:
    case GUMBO_NODE_CDATA:
        out.push_back({Piece::Text, QString::fromUtf8(node->v.text.text), pre});
        return;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE: {
        const GumboElement& e = node->v.element;
        if (isHidden(e.tag)) return;
        if (e.tag == GUMBO_TAG_BR) {
            out.push_back({Piece::Hard, {}});
            return;
        }
        const bool block = isBlock(e.tag);
        const bool cell = e.tag == GUMBO_TAG_TD || e.tag == GUMBO_TAG_TH;
        if (block) out.push_back({Piece::Soft, {}});
        const bool inPre = pre || e.tag == GUMBO_TAG_PRE || e.tag == GUMBO_TAG_TEXTAREA;
        for (unsigned i = 0; i < e.children.length; ++i)
            collect(static_cast<const GumboNode*>(e.children.data[i]), inPre, out);
        if (block) out.push_back({Piece::Soft, {}});
        if (cell) out.push_back({Piece::Text, QStringLiteral(" "), false});
        return;
    }
    default:
        return;
    }
}

// Lays the pieces out as the browser's inner text: CR LF line ends, no blank at a line's edges
// outside <pre>, no break at the start or end.
QString layOut(const std::vector<Piece>& pieces) {
    QString out;
    bool softPending = false;
    bool blankPending = false;
    auto atLineStart = [&] { return out.isEmpty() || out.endsWith(QLatin1Char('\n')); };
    auto beginContent = [&] {
        if (softPending && !atLineStart()) out += QLatin1String("\r\n");
        softPending = false;
        if (blankPending && !atLineStart()) out += QLatin1Char(' ');
        blankPending = false;
    };
    for (const Piece& p : pieces) {
        switch (p.kind) {
        case Piece::Hard:
            out += QLatin1String("\r\n");
            softPending = blankPending = false;
            break;
        case Piece::Soft:
            softPending = true;
            blankPending = false;
            break;
        case Piece::Text:
            if (p.pre) {
                if (p.text.isEmpty()) break;
                beginContent();
                for (QChar c : p.text) {
                    if (c == QLatin1Char('\r')) continue; // the parser has turned CR LF into LF already
                    if (c == QLatin1Char('\n'))
                        out += QLatin1String("\r\n");
                    else
                        out += c == QChar(0xA0) ? QLatin1Char(' ') : c;
                }
                break;
            }
            for (QChar c : p.text) {
                if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
                    c == QLatin1Char('\r') || c == QLatin1Char('\f')) {
                    blankPending = true;
                    continue;
                }
                beginContent();
                out += c == QChar(0xA0) ? QLatin1Char(' ') : c;
            }
            break;
        }
    }
    return out;
}

void walk(const GumboNode* node, QStringList& texts) {
    if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE) return;
    std::vector<Piece> pieces;
    const GumboElement& e = node->v.element;
    const bool pre = e.tag == GUMBO_TAG_PRE || e.tag == GUMBO_TAG_TEXTAREA;
    if (!isHidden(e.tag))
        for (unsigned i = 0; i < e.children.length; ++i)
            collect(static_cast<const GumboNode*>(e.children.data[i]), pre, pieces);
    texts.append(layOut(pieces));
    for (unsigned i = 0; i < e.children.length; ++i) walk(static_cast<const GumboNode*>(e.children.data[i]), texts);
}

QString charsetIn(const QString& text) {
    static const QRegularExpression re(QStringLiteral("charset\\s*=\\s*[\"']?([A-Za-z0-9_.:-]+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(text).captured(1).toLower();
}

} // namespace

namespace HtmlElements {

QString decode(const QByteArray& body, const QString& contentType) {
    QString charset = charsetIn(contentType);
    if (charset.isEmpty()) charset = charsetIn(QString::fromLatin1(body.left(1024)));
    if (charset == QLatin1String("windows-1251") || charset == QLatin1String("cp1251"))
        return Cp1251::decode(body);
    if (charset == QLatin1String("iso-8859-1") || charset == QLatin1String("latin1"))
        return QString::fromLatin1(body);
    return QString::fromUtf8(body);
}

QStringList innerTexts(const QString& html) {
    const QByteArray utf8 = html.toUtf8();
    GumboOutput* doc = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.constData(), size_t(utf8.size()));
    QStringList texts;
    walk(doc->root, texts);
    gumbo_destroy_output(&kGumboDefaultOptions, doc);
    return texts;
}

} // namespace HtmlElements
