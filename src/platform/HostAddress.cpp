#include "platform/HostAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <memory>

namespace platform {

std::vector<InterfaceAddress> InterfaceAddresses() {
    ifaddrs *list = nullptr;
    if (::getifaddrs(&list) != 0)
        return {};
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owner(list, ::freeifaddrs);
    std::vector<InterfaceAddress> addresses;
    for (const ifaddrs *entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        const auto *inet = reinterpret_cast<const sockaddr_in *>(entry->ifa_addr);
        char text[INET_ADDRSTRLEN] = {};
        if (!::inet_ntop(AF_INET, &inet->sin_addr, text, sizeof text))
            continue;
        const unsigned flags = entry->ifa_flags;
        addresses.push_back({QString::fromLocal8Bit(entry->ifa_name), QString::fromLatin1(text),
                             (flags & IFF_UP) != 0 && (flags & IFF_RUNNING) != 0,
                             (flags & IFF_LOOPBACK) != 0});
    }
    return addresses;
}

bool IsLoopbackAddress(const QString &address) {
    in_addr parsed{};
    return ::inet_pton(AF_INET, address.toLatin1().constData(), &parsed) == 1 &&
           (ntohl(parsed.s_addr) >> 24) == 127;
}

QString LocalAddress(const std::vector<InterfaceAddress> &addresses) {
    QString found;
    QString loopback;
    for (const InterfaceAddress &entry : addresses) {
        if (!entry.up)
            continue;
        if (IsLoopbackAddress(entry.address))
            loopback = entry.address;
        else if (!entry.loopback)
            found = entry.address;
    }
    return found.isEmpty() ? loopback : found;
}

} // namespace platform
