#include "app/help/HelpIndex.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <algorithm>

namespace {

// Lower case without accents, blanks collapsed: an analyst who types "cuantificacion"
// or "CUANTIFICACIÓN" means the same word.
QString folded(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D).toCaseFolded();
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    }
    return out.simplified();
}

bool readText(const QString& path, QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    text = QString::fromUtf8(file.readAll());
    return true;
}

QString plainTextOfPage(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

int matchRank(const HelpTopic& topic, const QString& query, const QStringList& words) {
    if (query.isEmpty())
        return 0;
    const QString title = folded(topic.title);
    bool keywordContains = false;
    for (const QString& keyword : topic.keywords) {
        const QString key = folded(keyword);
        if (key.startsWith(query))
            return 0;
        keywordContains = keywordContains || key.contains(query);
    }
    if (keywordContains || title.contains(query))
        return 1;
    const QString text = folded(topic.text);
    if (text.contains(query))
        return 2;
    const QString everything = title + ' ' + folded(topic.keywords.join(' ')) + ' ' + text;
    for (const QString& word : words) {
        if (!everything.contains(word))
            return -1;
    }
    return 3;
}

}  // namespace

QUrl helpUrlForPath(const QString& path) {
    if (path.startsWith(QLatin1String(":/")))
        return QUrl(QStringLiteral("qrc") + path);
    return QUrl::fromLocalFile(path);
}

HelpIndex HelpIndex::load(const QString& helpFile) {
    HelpIndex index;
    index.m_helpFile = helpFile;
    const QFileInfo helpInfo(helpFile);
    index.m_folder = helpInfo.path();
    const QString indexPath = index.m_folder + '/' + helpInfo.completeBaseName() + ".idx";

    QString indexText;
    if (!helpInfo.exists()) {
        index.m_error = QStringLiteral("No se encontró el archivo de ayuda «%1».").arg(helpFile);
        return index;
    }
    if (!readText(indexPath, indexText)) {
        index.m_error = QStringLiteral("No se encontró el índice de la ayuda «%1».").arg(indexPath);
        return index;
    }

    // A faulty line costs its own topic only; the rest of the help stays usable and the
    // first fault is reported.
    auto fault = [&index](int lineNumber, const QString& what) {
        if (index.m_error.isEmpty())
            index.m_error =
                QStringLiteral("Línea %1 del índice de la ayuda: %2").arg(lineNumber).arg(what);
    };
    const QStringList lines = indexText.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList fields = line.split('|');
        if (fields.size() != 4) {
            fault(lineNumber, QStringLiteral("se esperaban cuatro campos separados por «|»."));
            continue;
        }
        HelpTopic topic;
        bool contextsOk = true;
        for (const QString& token : fields[0].split(',', Qt::SkipEmptyParts)) {
            const QString word = token.trimmed();
            bool isNumber = false;
            const unsigned context = word.toUInt(&isNumber);
            if (word == QLatin1String("uso")) {
                topic.helpOnHelp = true;
            } else if (isNumber && !index.byContext(context)) {
                topic.contexts.append(context);
            } else {
                fault(lineNumber, QStringLiteral("contexto «%1» no válido o repetido.").arg(word));
                contextsOk = false;
            }
        }
        topic.file = fields[1].trimmed();
        topic.title = fields[2].trimmed();
        for (const QString& keyword : fields[3].split(';', Qt::SkipEmptyParts)) {
            if (!keyword.trimmed().isEmpty())
                topic.keywords.append(keyword.trimmed());
        }
        if (!contextsOk)
            continue;
        if (topic.file.isEmpty() || topic.title.isEmpty()) {
            fault(lineNumber, QStringLiteral("falta el archivo o el título del tema."));
            continue;
        }
        QString html;
        if (!readText(index.pathOf(topic), html)) {
            fault(lineNumber, QStringLiteral("no se encontró el tema «%1».").arg(topic.file));
            continue;
        }
        topic.text = plainTextOfPage(html);
        index.m_topics.append(topic);
    }
    if (!index.contents() && index.m_error.isEmpty())
        index.m_error = QStringLiteral("El índice de la ayuda no incluye la página de contenido.");
    return index;
}

const HelpTopic* HelpIndex::contents() const {
    return byFile(QFileInfo(m_helpFile).fileName());
}

const HelpTopic* HelpIndex::helpOnHelp() const {
    for (const HelpTopic& topic : m_topics) {
        if (topic.helpOnHelp)
            return &topic;
    }
    return nullptr;
}

const HelpTopic* HelpIndex::byContext(unsigned context) const {
    for (const HelpTopic& topic : m_topics) {
        if (topic.contexts.contains(context))
            return &topic;
    }
    return nullptr;
}

const HelpTopic* HelpIndex::byFile(const QString& file) const {
    for (const HelpTopic& topic : m_topics) {
        if (topic.file == file)
            return &topic;
    }
    return nullptr;
}

const HelpTopic* HelpIndex::byUrl(const QUrl& url) const {
    const QUrl page = url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery);
    for (const HelpTopic& topic : m_topics) {
        if (urlOf(topic) == page)
            return &topic;
    }
    return nullptr;
}

QString HelpIndex::pathOf(const HelpTopic& topic) const {
    return m_folder + '/' + topic.file;
}

QUrl HelpIndex::urlOf(const HelpTopic& topic) const {
    return helpUrlForPath(pathOf(topic));
}

QList<const HelpTopic*> HelpIndex::search(const QString& text) const {
    const QString query = folded(text);
    const QStringList words = query.split(' ', Qt::SkipEmptyParts);
    struct Hit {
        int rank;
        QString title;
        const HelpTopic* topic;
    };
    QList<Hit> hits;
    for (const HelpTopic& topic : m_topics) {
        const int rank = matchRank(topic, query, words);
        if (rank >= 0)
            hits.append({rank, folded(topic.title), &topic});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        if (a.rank != b.rank)
            return a.rank < b.rank;
        return a.title.localeAwareCompare(b.title) < 0;
    });
    QList<const HelpTopic*> found;
    for (const Hit& hit : hits)
        found.append(hit.topic);
    return found;
}
