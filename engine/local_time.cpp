#include "engine/local_time.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace vistrel {
namespace {

// mktime of local midnight at the start of the day, the daylight-saving flag given.
std::int32_t MidnightWithDaylightFlag(int year, int month, int day, int daylightFlag) noexcept {
    std::tm calendar{};
    calendar.tm_isdst = daylightFlag;
    const long long yearsSince1900 = static_cast<long long>(year) - 1900;
    if (yearsSince1900 < std::numeric_limits<int>::min()) return -1;
    calendar.tm_mday = day;
    calendar.tm_mon = month - 1;
    calendar.tm_year = static_cast<int>(yearsSince1900);
    return MakeInstant(calendar);
}

// The daylight-saving flag that the present moment hands to the conversion; 0 when the moment
// has no local calendar time.
int DaylightFlagOf(std::int32_t now) noexcept {
    const auto present = LocalCalendarTime(now);
    return present ? present->tm_isdst : 0;
}

// What decides the runtime's zone: TZ when set; otherwise the system's zone file, which the C
// library reads again whenever the file's identity changes.
struct ZoneIdentity {
    static constexpr std::size_t MaxZoneName = 256;
    bool known = false;  // false: a zone that can't be told apart, never remembered
    bool zoneNameSet = false;
    char zoneName[MaxZoneName] = {};
#ifndef _WIN32
    unsigned long long fileDevice = 0;
    unsigned long long fileNode = 0;
    long long fileSeconds = 0;
    long long fileNanoseconds = 0;
    long long fileSize = 0;
#endif

    static ZoneIdentity Current() noexcept {
        ZoneIdentity zone;
        const char* name = std::getenv("TZ");
        if (name != nullptr) {
            const std::size_t length = std::strlen(name);
            if (length >= MaxZoneName) return zone;
            std::memcpy(zone.zoneName, name, length);
            zone.zoneNameSet = true;
        }
#ifndef _WIN32
        else {
            struct stat file {};
            if (stat("/etc/localtime", &file) == 0) {
                zone.fileDevice = file.st_dev;
                zone.fileNode = file.st_ino;
                zone.fileSeconds = file.st_mtim.tv_sec;
                zone.fileNanoseconds = file.st_mtim.tv_nsec;
                zone.fileSize = file.st_size;
            }
        }
#endif
        zone.known = true;
        return zone;
    }

    bool operator==(const ZoneIdentity& other) const noexcept {
        return known && other.known && zoneNameSet == other.zoneNameSet &&
               std::strcmp(zoneName, other.zoneName) == 0
#ifndef _WIN32
               && fileDevice == other.fileDevice && fileNode == other.fileNode &&
               fileSeconds == other.fileSeconds && fileNanoseconds == other.fileNanoseconds &&
               fileSize == other.fileSize
#endif
            ;
    }
};

}  // namespace

// Midnights by date and flag, for one zone. A full table forgets the entry in the way.
struct LocalMidnightCache::Memory {
    struct Entry {
        bool used = false;
        int year = 0;
        int month = 0;
        int day = 0;
        int daylightFlag = 0;
        std::int32_t instant = 0;
    };
    static constexpr std::size_t Capacity = 1024;

    ZoneIdentity zone;
    bool presentKnown = false;
    std::int32_t present = 0;
    int presentDaylightFlag = 0;
    Entry entries[Capacity];

    void Forget() noexcept {
        presentKnown = false;
        for (Entry& entry : entries) entry.used = false;
    }

    int DaylightFlagAt(std::int32_t now) noexcept {
        if (!presentKnown || present != now) {
            presentDaylightFlag = DaylightFlagOf(now);
            present = now;
            presentKnown = true;
        }
        return presentDaylightFlag;
    }

    static constexpr std::size_t Probes = 8;

    // The entry that holds the date, or the one to fill with it: a few neighbouring places are
    // tried, and when all are taken the first gives way.
    Entry& Slot(int year, int month, int day, int daylightFlag) noexcept {
        std::uint32_t key = static_cast<std::uint32_t>(year) * 0x9E3779B1u ^
                            static_cast<std::uint32_t>(month) * 0x85EBCA77u ^
                            static_cast<std::uint32_t>(day) * 0xC2B2AE3Du ^
                            static_cast<std::uint32_t>(daylightFlag) * 0x27D4EB2Fu;
        key ^= key >> 15;
        key *= 0x2C1B3C6Du;
        key ^= key >> 12;
        const std::size_t first = key % Capacity;
        for (std::size_t probe = 0; probe < Probes; ++probe) {
            Entry& entry = entries[(first + probe) % Capacity];
            if (!entry.used || (entry.year == year && entry.month == month && entry.day == day &&
                                entry.daylightFlag == daylightFlag)) {
                return entry;
            }
        }
        return entries[first];
    }
};

namespace {

std::atomic<bool> processMemoryInUse{false};

}  // namespace

LocalMidnightCache::Memory* LocalMidnightCache::TakeProcessMemory() noexcept {
    static Memory processMemory;
    if (processMemoryInUse.exchange(true, std::memory_order_acquire)) return nullptr;
    return &processMemory;
}

void LocalMidnightCache::ReturnProcessMemory() noexcept {
    processMemoryInUse.store(false, std::memory_order_release);
}

LocalMidnightCache::LocalMidnightCache() noexcept : memory_(TakeProcessMemory()) {
    if (memory_ == nullptr) return;
    const ZoneIdentity zone = ZoneIdentity::Current();
    if (!zone.known) {
        ReturnProcessMemory();
        memory_ = nullptr;
        return;
    }
    if (!(memory_->zone == zone)) {
        memory_->Forget();
        memory_->zone = zone;
    }
}

LocalMidnightCache::~LocalMidnightCache() {
    if (memory_ != nullptr) ReturnProcessMemory();
}

std::int32_t LocalMidnightCache::Midnight(int year, int month, int day, std::int32_t now) noexcept {
    if (memory_ == nullptr) return LocalMidnight(year, month, day, now);
    const int daylightFlag = memory_->DaylightFlagAt(now);
    Memory::Entry& entry = memory_->Slot(year, month, day, daylightFlag);
    if (!entry.used || entry.year != year || entry.month != month || entry.day != day ||
        entry.daylightFlag != daylightFlag) {
        entry = {true, year,         month,
                 day,  daylightFlag, MidnightWithDaylightFlag(year, month, day, daylightFlag)};
    }
    return entry.instant;
}

std::optional<std::tm> LocalCalendarTime(std::int32_t instant) noexcept {
    const std::time_t moment = instant;
    // localtime hands out a shared result area; take a copy at once.
    const std::tm* calendar = std::localtime(&moment);
    if (calendar == nullptr) return std::nullopt;
    return *calendar;
}

std::int32_t MakeInstant(std::tm calendar) noexcept {
    const std::time_t instant = std::mktime(&calendar);
    // Instants are 32-bit: a date past their range fails like mktime's own failure.
    if (instant == static_cast<std::time_t>(-1) ||
        instant < std::numeric_limits<std::int32_t>::min() ||
        instant > std::numeric_limits<std::int32_t>::max()) {
        return -1;
    }
    return static_cast<std::int32_t>(instant);
}

std::int32_t LocalMidnight(int year, int month, int day, std::int32_t now) noexcept {
    // tm_isdst is that of the present moment, so every date is converted alike; mktime reads no
    // other field of the present's calendar time.
    return MidnightWithDaylightFlag(year, month, day, DaylightFlagOf(now));
}

std::optional<std::int32_t> DayAfterInstant(std::chrono::year_month_day date,
                                            std::int32_t now) noexcept {
    if (!date.ok()) return std::nullopt;
    const std::int32_t midnight = LocalMidnight(
        static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
        static_cast<int>(static_cast<unsigned>(date.day())), now);
    if (midnight == -1 || midnight > std::numeric_limits<std::int32_t>::max() - SecondsPerDay) {
        return std::nullopt;
    }
    return midnight + SecondsPerDay;
}

}  // namespace vistrel
