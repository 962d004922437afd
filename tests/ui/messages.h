#pragma once
// Every sentence the window says to the user, exactly as it must read.

#include <QString>

namespace ambrelay::testing {

inline const QString kBlank = "You must fill in all four values to obtain a result.";
inline const QString kInverse = "The number of responses cannot be greater than the number of observations";
inline const QString kInsufficient = "Insufficient data. Please fill in all four input boxes.";
inline const QString kViews1 = "Input 'Version 1 Views' must be numeric.";
inline const QString kViews2 = "Input in 'Version 2 Views' must be numeric.";
inline const QString kRspn1 = "Input in 'Ver 1 Responses' must be numeric.";
inline const QString kRspn2 = "Input in 'Ver 2 Responses' must be numeric.";
inline const QString kNegative = "Counts cannot be negative. Please enter zero or more observations and responses for "
                                 "both versions.";
inline const QString kNoViews1 = "Version 1 has no observations, so its response ratio cannot be computed. Please "
                                 "enter more than 0 observations for version 1.";
inline const QString kNoViews2 = "Version 2 has no observations, so its response ratio cannot be computed. Please "
                                 "enter more than 0 observations for version 2.";
inline const QString kNoResponses = "Neither version has any responses, so there is nothing to compare. Please enter "
                                    "the responses of at least one version.";
inline const QString kAllResponded = "Every observation of both versions drew a response, so there is nothing to "
                                     "compare. Please check the counts of responses.";
inline const QString kOutOfRange = "These counts are too large or too small to compute a result. Please enter counts "
                                   "of a sensible size.";

}  // namespace ambrelay::testing
