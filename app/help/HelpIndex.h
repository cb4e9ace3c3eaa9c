#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// One page of the help file. A topic may answer several help context numbers (the
// study window and the New command share one) or none (topics reached by links only).
struct HelpTopic {
    QList<unsigned> contexts;
    bool helpOnHelp = false;  // the page that explains the viewer itself
    QString file;             // page name inside the help folder
    QString title;
    QStringList keywords;
    QString text;  // the page as plain text, for the search
};

// The help file's table of topics. It lives beside the help file, which is the contents
// page, in a text file named like it with the extension .idx: one topic a line,
//     contexts | page | title | keywords separated by ";"
// where contexts is a comma-separated list of context numbers and may hold the word
// "uso" for the page on using the help. Lines starting with "#" are comments.
class HelpIndex {
public:
    // Reads the index of `helpFile` (a file path or a ":/" resource path) and the text of
    // every page it names. On failure the index is empty and error() says why, in Spanish.
    static HelpIndex load(const QString& helpFile);

    bool isValid() const { return m_error.isEmpty() && !m_topics.isEmpty(); }
    QString error() const { return m_error; }
    QString helpFile() const { return m_helpFile; }
    const QList<HelpTopic>& topics() const { return m_topics; }

    const HelpTopic* contents() const;
    const HelpTopic* helpOnHelp() const;
    const HelpTopic* byContext(unsigned context) const;
    const HelpTopic* byFile(const QString& file) const;
    const HelpTopic* byUrl(const QUrl& url) const;

    QString pathOf(const HelpTopic& topic) const;
    QUrl urlOf(const HelpTopic& topic) const;

    // Topics matching `text`, best first: a keyword that starts with it, then a keyword
    // or title that contains it, then a page that contains it, then a page that holds
    // every word of it. Case and accents do not matter. An empty text lists every topic
    // by title.
    QList<const HelpTopic*> search(const QString& text) const;

private:
    QString m_helpFile;
    QString m_folder;
    QList<HelpTopic> m_topics;
    QString m_error;
};

// A resource path (":/...") as a URL the text browser resolves links against.
QUrl helpUrlForPath(const QString& path);
