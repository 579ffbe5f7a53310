#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <utility>
#include <vector>

// The program's one order of texts (drug names, pharmacies, wholesalers, districts), the same in
// grids, on paper and in the buying windows: the reader's collation, letters first and case only
// breaking ties, so "amoxicillin", "Amoxil" and "Zyrtec" stand in that order; the empty text first.
namespace TextOrder {

// Below 0, 0 or above 0 as a sorts before, with or after b.
int compare(const QString& a, const QString& b);
inline bool less(const QString& a, const QString& b) { return compare(a, b) < 0; }

// The positions of texts in their order; equal texts keep their places (also descending). One key
// per text is made once, so this is the way to sort many texts.
std::vector<int> order(const std::vector<QString>& texts, bool descending = false);
// The same over views: a grid sorts its cells where they are, without copying each text.
std::vector<int> order(const std::vector<QStringView>& texts, bool descending = false);

// Sorts items by the text key(item) gives, keeping the places of equal texts.
template <class T, class Key>
void sortBy(std::vector<T>& items, Key key) {
    std::vector<QString> texts;
    texts.reserve(items.size());
    for (const T& item : items)
        texts.push_back(key(item));
    const std::vector<int> at = order(texts);
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (int i : at)
        sorted.push_back(std::move(items[size_t(i)]));
    items = std::move(sorted);
}

} // namespace TextOrder
