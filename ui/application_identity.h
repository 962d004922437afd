#pragma once
// Who the program says it is to the desktop: its name, version and desktop
// entry. Called once, before the application object is made.

namespace ambrelay {

void SetUpApplicationIdentity();

}  // namespace ambrelay
