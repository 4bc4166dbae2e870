#include "deal.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "pieces.h"

namespace quolvet {

float localTimeOfDay() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const double fraction =
        duration<double>(now.time_since_epoch()).count() - static_cast<double>(seconds);
    return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + fraction);
}

int timeDigit(float t) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", static_cast<double>(t));
    const char last = text[std::strlen(text) - 1];
    return last - '0';
}

int activeCodeForDigit(int digit) {
    static constexpr int codes[10] = {HU_ACTIVE,  KYOU_ACTIVE, KEI_ACTIVE,  GIN_ACTIVE,  KIN_ACTIVE,
                                      SYA_ACTIVE, OU_ACTIVE,   KAKU_ACTIVE, KAKU_ACTIVE, KAKU_ACTIVE};
    return codes[digit];
}

}  // namespace quolvet
