#include "settings_location.h"

// The key itself: the organisation-only constructor of QSettings would use
// "Software\tpg\OrganizationDefaults" under it instead.
QString nativestorename() {
    return kRegistryStoreKey;
}
