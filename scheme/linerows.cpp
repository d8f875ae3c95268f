#include "linerows.h"

#include "scheme/uchrow.h"

#include <QHash>
#include <QVector>

namespace {

bool ofLine(const QStringList& row, const QStringList& codes)
{
    return row.value(uchNpes) == codes.value(0) && row.value(uchNres) == codes.value(1)
        && row.value(uchNlin) == codes.value(2);
}

} // namespace

Table mergeLineRows(const Table& file, const EditedLineRows& edited)
{
    // The file's rows of the line by key, each list in file order.
    QHash<QString, QVector<int>> fileRows;
    QVector<bool> taken(file.size(), false);
    for (int i = 0; i < file.size(); ++i) {
        if (ofLine(file.at(i), edited.codes))
            fileRows[file.at(i).value(uchKey)].append(i);
        else
            taken[i] = true;   // written after the line's rows
    }
    // A changed key that the editor read stands for the file's rows with it:
    // they were replaced or deleted here.
    for (const QString& key : edited.changedKeys) {
        if (!edited.loadedKeys.contains(key))
            continue;
        const auto found = fileRows.constFind(key);
        if (found != fileRows.constEnd())
            for (int i : found.value())
                taken[i] = true;
    }
    QHash<QString, int> nextOfKey;

    Table out;
    out.reserve(file.size() + edited.rows.size());
    for (const QStringList& row : edited.rows) {
        const QString key = row.value(uchKey);
        if (edited.changedKeys.contains(key)) {
            out.append(row);
            continue;
        }
        const auto found = fileRows.constFind(key);
        if (found == fileRows.constEnd())
            continue;   // another window deleted it
        const QVector<int>& candidates = found.value();
        int& next = nextOfKey[key];
        while (next < candidates.size() && taken.at(candidates.at(next)))
            ++next;
        if (next < candidates.size()) {
            taken[candidates.at(next)] = true;
            out.append(file.at(candidates.at(next)));
        }
    }
    for (int i = 0; i < file.size(); ++i) {
        if (!taken.at(i))
            out.append(file.at(i));
    }
    for (const QStringList& row : file) {
        if (!ofLine(row, edited.codes))
            out.append(row);
    }
    return out;
}
