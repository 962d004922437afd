#include "engine/failure_message.h"

namespace ambrelay {

std::string CalcFailureMessage(ZStatFailureReason reason)
{
    switch (reason) {
    case ZStatFailureReason::NegativeCount:
        return "Counts cannot be negative. Please enter zero or more observations and "
               "responses for both versions.";
    case ZStatFailureReason::NoViews1:
        return "Version 1 has no observations, so its response ratio cannot be computed. "
               "Please enter more than 0 observations for version 1.";
    case ZStatFailureReason::NoViews2:
        return "Version 2 has no observations, so its response ratio cannot be computed. "
               "Please enter more than 0 observations for version 2.";
    case ZStatFailureReason::NoResponses:
        return "Neither version has any responses, so there is nothing to compare. "
               "Please enter the responses of at least one version.";
    case ZStatFailureReason::AllResponded:
        return "Every observation of both versions drew a response, so there is nothing "
               "to compare. Please check the counts of responses.";
    case ZStatFailureReason::OutOfRange:
        break;
    }
    return "These counts are too large or too small to compute a result. Please enter "
           "counts of a sensible size.";
}

}  // namespace ambrelay
