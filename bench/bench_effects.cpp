// How long a search over the whole effects catalogue takes: the median of
// many searches for each of a few words, the way the browser runs one at
// every keystroke.
#include "effectscatalogue.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    std::printf("%-22s %8s %12s\n", "effect search", "matches", "median");
    for (const char *word : {"s", "smoke", "SMOKE", "tunnel", "gasoline"}) {
        const QString text = QString::fromLatin1(word);
        std::vector<qint64> times;
        qsizetype matches = 0;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            matches = tavrin::SearchEffects(text).size();
            times.push_back(timer.nsecsElapsed());
        }
        std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
        std::printf("%-22s %8lld %9.1f us\n", word, static_cast<long long>(matches), times[runs / 2] / 1000.0);
    }
    return 0;
}
