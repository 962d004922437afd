#pragma once
// The four counts as the first columns of a data table, in the order the
// user types them; a test fetches them by these names.

#include <QtTest>

inline void AddCountColumns()
{
    for (const char* name : {"views1", "responses1", "views2", "responses2"}) {
        QTest::addColumn<double>(name);
    }
}
