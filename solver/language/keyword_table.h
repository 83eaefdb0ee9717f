// The keyword tables of the network file, looked up by exact word.
#pragma once

#include <cstddef>
#include <string_view>

namespace kolt {

// 1-based index of `word` in `table`, 0 when absent.
template <std::size_t N>
int lookUp(const std::string_view (&table)[N], std::string_view word) {
    for (std::size_t i = 0; i < N; ++i)
        if (word == table[i]) return static_cast<int>(i) + 1;
    return 0;
}

}  // namespace kolt
