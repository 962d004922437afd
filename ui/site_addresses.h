#pragma once
// The program's own web site, named in one place.

#include <QString>

namespace ambrelay {

inline const QString kSiteHost = QStringLiteral("www.ambrelay.example");

// The help page; its path and query are fixed, the host is ours.
inline const QString kHelpAddress = QStringLiteral("http://") + kSiteHost
                                    + QStringLiteral("/kelvoryhelp.html?ambrelayhelp");

// The page the credits link opens: neither the help page nor the bare address
// that the link shows.
inline const QString kMakerPageAddress = QStringLiteral("http://") + kSiteHost + QStringLiteral("/about.html");

}  // namespace ambrelay
