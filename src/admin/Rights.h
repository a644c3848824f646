#pragma once

namespace varnel::admin {

// Rights of the user logged in for this run. Nobody has any until the
// log-in has admitted a user.
struct Rights {
    bool modiUsers = false;  // may manage users
    bool modiDict = false;   // may change dictionaries and amount parameters
};

}  // namespace varnel::admin
