#pragma once

// Whether this machine has a network address other than the loopback, told from its network
// interfaces. Not from a look-up of the machine's own name: this platform's systems map that
// name to a loopback address in their hosts file whether or not the machine is online.

#include <QString>

#include <vector>

namespace platform {

// One IPv4 address of one of the machine's network interfaces.
struct InterfaceAddress {
    QString interface;     // "eth0"
    QString address;       // dotted, "192.0.2.2"
    bool up = false;       // switched on and connected: it can carry traffic now
    bool loopback = false; // the machine talking to itself
};

// The IPv4 addresses of the machine's interfaces, in the order the system lists them. Empty
// when the system cannot tell, which reads as having no network. Asks the kernel only; no
// name service, nothing sent, nothing waited for.
std::vector<InterfaceAddress> InterfaceAddresses();

// Whether `address` is one of 127.0.0.0/8, all of which stay on the machine.
bool IsLoopbackAddress(const QString &address);

// The machine's address as the program shows it: the last listed address of an interface that
// is up, is not a loopback and lies outside 127.0.0.0/8. Failing that, the last loopback
// address of an interface that is up ("127.0.0.1" on a machine that is offline), and empty
// when there is not even that.
QString LocalAddress(const std::vector<InterfaceAddress> &addresses);

} // namespace platform
