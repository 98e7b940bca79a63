#include "platform/HtmlElements.h"

#include "platform/Cp1251.h"

#include <QHash>
#include <QRegularExpression>
#include <gumbo.h>
#include <vector>

namespace {

// A page nested deeper than this is refused before parsing: the parser's cost grows with the
// square of the depth. Elements below kMaxDepth are not read (browsers stop nesting there too),
// and the texts of all elements together may hold at most kMaxTextChars characters.
constexpr int kMaxOpenElements = 4096;
// Each element costs the parser a few hundred bytes: pages of more are refused as well.
constexpr int kMaxElements = 50000;
constexpr int kMaxDepth = 512;
constexpr qsizetype kMaxTextChars = 16 * 1024 * 1024;

bool isBlock(GumboTag t) {
    switch (t) {
    case GUMBO_TAG_ADDRESS:
    case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_ASIDE:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_BODY:
    case GUMBO_TAG_CENTER:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_DL:
    case GUMBO_TAG_DT:
    case GUMBO_TAG_FIELDSET:
    case GUMBO_TAG_FOOTER:
    case GUMBO_TAG_FORM:
    case GUMBO_TAG_H1:
    case GUMBO_TAG_H2:
    case GUMBO_TAG_H3:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_HEADER:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_NAV:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_P:
    case GUMBO_TAG_PRE:
    case GUMBO_TAG_SECTION:
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_UL:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_TITLE:
        return true;
    default:
        return false;
    }
}

bool isHidden(GumboTag t) {
    return t == GUMBO_TAG_SCRIPT || t == GUMBO_TAG_STYLE || t == GUMBO_TAG_NOSCRIPT;
}

bool isPre(GumboTag t) {
    return t == GUMBO_TAG_PRE || t == GUMBO_TAG_TEXTAREA;
}

// A stretch of laid-out inner text that can be joined to its neighbours without laying its
// pieces out again: the text as laid out from a fresh start, and what was still pending
// before its first output (a break or content) and after its last. Inner text is CR LF line
// ends, at most one line break between blocks (soft breaks), hard breaks for <br>, blanks
// collapsed outside <pre> and never at a line's edges.
struct Run {
    QString text;
    bool output = false;    // a break or content was laid out
    bool firstHard = false; // ... and the first of them was a hard break
    bool headSoft = false, headBlank = false;
    bool tailSoft = false, tailBlank = false;
};

// A soft break resets a pending blank; a blank after it is pending again.
void fold(bool& soft, bool& blank, bool nextSoft, bool nextBlank) {
    blank = nextSoft ? nextBlank : (blank || nextBlank);
    soft = soft || nextSoft;
}

void append(Run& acc, const Run& b) {
    if (!b.output) {
        fold(acc.tailSoft, acc.tailBlank, b.headSoft, b.headBlank);
        if (!acc.output) acc.headSoft = acc.tailSoft, acc.headBlank = acc.tailBlank;
        return;
    }
    bool soft = acc.tailSoft, blank = acc.tailBlank;
    fold(soft, blank, b.headSoft, b.headBlank);
    if (!acc.output) {
        acc.text = b.text; // shared, not copied: a chain of wrappers holds one text
        acc.output = true;
        acc.firstHard = b.firstHard;
        acc.headSoft = soft;
        acc.headBlank = blank;
    } else {
        const bool lineStart = acc.text.isEmpty() || acc.text.endsWith(QLatin1Char('\n'));
        if (!b.firstHard && !lineStart) {
            if (soft)
                acc.text += QLatin1String("\r\n");
            else if (blank)
                acc.text += QLatin1Char(' ');
        }
        acc.text += b.text;
    }
    acc.tailSoft = b.tailSoft;
    acc.tailBlank = b.tailBlank;
}

Run softBreak() {
    Run r;
    r.headSoft = r.tailSoft = true;
    return r;
}

Run hardBreak() {
    Run r;
    r.text = QStringLiteral("\r\n");
    r.output = r.firstHard = true;
    return r;
}

Run textRun(const char* utf8, bool pre) {
    Run r;
    const QString text = QString::fromUtf8(utf8);
    if (pre) {
        if (text.isEmpty()) return r;
        r.output = true;
        r.text.reserve(text.size());
        for (QChar c : text) {
            if (c == QLatin1Char('\r')) continue; // the parser has turned CR LF into LF already
            if (c == QLatin1Char('\n'))
                r.text += QLatin1String("\r\n");
            else
                r.text += c == QChar(0xA0) ? QLatin1Char(' ') : c;
        }
        return r;
    }
    bool blank = false;
    r.text.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r') || c == QLatin1Char('\f')) {
            blank = true;
            continue;
        }
        if (!r.output) {
            r.headBlank = blank;
            r.output = true;
        } else if (blank) {
            r.text += QLatin1Char(' ');
        }
        blank = false;
        r.text += c == QChar(0xA0) ? QLatin1Char(' ') : c;
    }
    if (r.output)
        r.tailBlank = blank;
    else
        r.headBlank = r.tailBlank = blank;
    return r;
}

// One open element of the walk. `own` is its inner text; `asPre` the same subtree laid out as
// inside a <pre>, kept only when an ancestor is one (that ancestor's text needs it).
struct Frame {
    Frame(const GumboElement* e, qsizetype at, bool insidePre) : element(e), slot(at), needPre(insidePre) {}
    const GumboElement* element;
    qsizetype slot;
    bool needPre;
    unsigned next = 0;
    Run own;
    Run asPre;
};

void addChild(Frame& f, const Run& own, const Run& asPre) {
    const bool pre = isPre(f.element->tag);
    append(f.own, pre ? asPre : own);
    if (f.needPre) append(f.asPre, asPre);
}

// An element's part in its parent's text: its own text with the breaks around a block and the
// blank after a table cell.
void addElement(Frame& parent, const GumboElement& e, Run own, Run asPre) {
    if (isHidden(e.tag)) return;
    if (e.tag == GUMBO_TAG_BR) {
        addChild(parent, hardBreak(), hardBreak());
        return;
    }
    const bool block = isBlock(e.tag);
    const bool cell = e.tag == GUMBO_TAG_TD || e.tag == GUMBO_TAG_TH;
    if (block) addChild(parent, softBreak(), softBreak());
    addChild(parent, own, asPre);
    if (block) addChild(parent, softBreak(), softBreak());
    if (cell) {
        const Run blank = textRun(" ", false);
        addChild(parent, blank, blank);
    }
}

// Every element in document order with its inner text, in one pass without recursion: each
// text node is laid out once and joined into its ancestors' texts as the walk climbs back up.
bool walk(const GumboNode* root, QStringList& texts) {
    if (root->type != GUMBO_NODE_ELEMENT && root->type != GUMBO_NODE_TEMPLATE) return true;
    std::vector<Frame> stack;
    stack.emplace_back(&root->v.element, texts.size(), false);
    texts.append(QString());
    qsizetype total = 0;
    while (!stack.empty()) {
        Frame& f = stack.back();
        const GumboElement& e = *f.element;
        if (f.next < e.children.length) {
            const GumboNode* child = static_cast<const GumboNode*>(e.children.data[f.next++]);
            switch (child->type) {
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA:
                if (isPre(e.tag)) {
                    const Run pre = textRun(child->v.text.text, true);
                    addChild(f, pre, pre);
                } else if (!isHidden(e.tag)) {
                    addChild(f, textRun(child->v.text.text, false),
                             f.needPre ? textRun(child->v.text.text, true) : Run());
                }
                break;
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE:
                if (stack.size() < size_t(kMaxDepth)) {
                    const bool needPre = f.needPre || isPre(e.tag);
                    stack.emplace_back(&child->v.element, texts.size(), needPre);
                    texts.append(QString());
                }
                break;
            default:
                break;
            }
            continue;
        }
        Frame done = std::move(stack.back());
        stack.pop_back();
        if (isHidden(done.element->tag)) done.own = Run();
        total += done.own.text.size();
        if (total > kMaxTextChars) return false;
        texts[done.slot] = done.own.text;
        if (!stack.empty())
            addElement(stack.back(), *done.element, std::move(done.own), std::move(done.asPre));
    }
    return true;
}

// Elements that never hold others, whose end is implied, or whose content is not markup.
bool isVoid(const QByteArray& n) {
    static const QList<QByteArray> names{"area",  "base",  "basefont", "bgsound", "br",    "col",
                                         "embed", "frame", "hr",       "img",     "input", "keygen",
                                         "link",  "meta",  "param",    "source",  "track", "wbr"};
    return names.contains(n);
}

bool isRawText(const QByteArray& n) {
    static const QList<QByteArray> names{"script",  "style",    "xmp",      "iframe",
                                         "noembed", "noframes", "textarea", "title"};
    return names.contains(n);
}

bool isFormatting(const QByteArray& n) {
    static const QList<QByteArray> names{"a",    "b", "big",   "code",   "em",     "font", "i",
                                         "nobr", "s", "small", "strike", "strong", "tt",   "u"};
    return names.contains(n);
}

// Elements that a later one of their kind closes; what stops the search for that earlier one.
QByteArray closedByItsKindWithin(const QByteArray& n) {
    if (n == "p") return "p";
    if (n == "li") return "ul ol menu";
    if (n == "dd" || n == "dt") return "dl";
    if (n == "td" || n == "th" || n == "tr" || n == "tbody" || n == "thead" || n == "tfoot") return "table";
    if (n == "option" || n == "optgroup") return "select datalist";
    return {};
}

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A cheap single pass over the bytes that tells why the page is too much for the parser: more
// than kMaxOpenElements elements inside each other, or more than kMaxElements at all. Depth
// is counted as a parser closes elements: end tags close up to their element, void and
// self-closed tags and the kinds a sibling of their kind closes (p, li, td, tr, option, ...)
// add none, comments and script texts hold no tags. Null when the page may be parsed.
const char* markupRefusal(const QByteArray& html) {
    struct Open {
        QByteArray name;
        bool counts;
    };
    std::vector<Open> stack;
    QHash<QByteArray, int> open;
    int depth = 0;
    int elements = 0;
    const qsizetype n = html.size();
    const char* s = html.constData();
    qsizetype i = 0;
    auto popTo = [&](const QByteArray& name) {
        while (!stack.empty()) {
            Open top = std::move(stack.back());
            stack.pop_back();
            --open[top.name];
            if (top.counts) --depth;
            if (top.name == name) return;
        }
    };
    while (i < n) {
        if (s[i] != '<') {
            ++i;
            continue;
        }
        if (html.mid(i, 4) == "<!--") {
            const qsizetype end = html.indexOf("-->", i + 4);
            if (end < 0) break;
            i = end + 3;
            continue;
        }
        const bool closing = i + 1 < n && s[i + 1] == '/';
        qsizetype j = i + (closing ? 2 : 1);
        if (j >= n) break;
        if (!isNameChar(s[j]) || (s[j] >= '0' && s[j] <= '9')) {
            if (s[j] == '!' || s[j] == '?' || closing) {
                const qsizetype end = html.indexOf('>', j);
                if (end < 0) break;
                i = end + 1;
            } else {
                ++i;
            }
            continue;
        }
        const qsizetype nameStart = j;
        while (j < n && isNameChar(s[j]))
            ++j;
        const QByteArray name = html.mid(nameStart, j - nameStart).toLower();
        // The tag ends at the first '>' outside a quoted attribute value.
        char quote = 0;
        bool afterEquals = false;
        for (; j < n; ++j) {
            const char c = s[j];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '>') {
                break;
            } else if (afterEquals && (c == '"' || c == '\'')) {
                quote = c;
            }
            if (!quote && c != ' ' && c != '\t' && c != '\n' && c != '\r') afterEquals = c == '=';
        }
        if (j >= n) break;
        const bool selfClosed = s[j - 1] == '/';
        i = j + 1;
        if (closing) {
            // A misnested end of a formatting element is mended by the parser without closing
            // what stands above it; only its end at the top is taken as closing.
            if (open.value(name) > 0 && (!isFormatting(name) || stack.back().name == name)) popTo(name);
            continue;
        }
        if (++elements > kMaxElements) return "the page has too many elements";
        if (name == "plaintext") break;
        if (isRawText(name)) {
            qsizetype end = html.indexOf("</", i);
            while (end >= 0 && qstrnicmp(s + end + 2, name.constData(), size_t(name.size())) != 0)
                end = html.indexOf("</", end + 2);
            if (end < 0) break;
            i = end;
            continue;
        }
        if (isVoid(name) || selfClosed) continue;
        const QByteArray within = closedByItsKindWithin(name);
        const bool counts = within.isEmpty();
        if (!counts && open.value(name) > 0) {
            // Only a near earlier one is looked for: the search stays cheap on hostile pages.
            const QList<QByteArray> stops = within.split(' ');
            for (size_t k = stack.size(), steps = 0; k > 0 && steps < 16; --k, ++steps) {
                const QByteArray& at = stack[k - 1].name;
                if (at == name) {
                    popTo(name);
                    break;
                }
                if (stops.contains(at)) break;
            }
        }
        stack.push_back({name, counts});
        ++open[name];
        if (counts && ++depth > kMaxOpenElements) return "the page is nested too deeply";
    }
    return nullptr;
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

QStringList innerTexts(const QString& html, QString* refusal) {
    auto refuse = [&](const char* why) {
        if (refusal) *refusal = QString::fromLatin1(why);
        return QStringList();
    };
    if (refusal) refusal->clear();
    const QByteArray utf8 = html.toUtf8();
    if (utf8.size() > kMaxPageBytes) return refuse("the page is larger than 4 MB");
    if (const char* why = markupRefusal(utf8)) return refuse(why);
    GumboOptions options = kGumboDefaultOptions;
    // Each recorded parse error keeps a copy of the open elements: on a page of unclosed
    // elements that alone costs the square of the depth.
    options.max_errors = 0;
    GumboOutput* doc = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
    QStringList texts;
    const bool read = walk(doc->root, texts);
    gumbo_destroy_output(&options, doc);
    if (!read) return refuse("the page's text is too long");
    return texts;
}

} // namespace HtmlElements
