#pragma once

namespace card {

// The columns of the customer table that the record cards read.
enum CustomerColumn {
    kCustName = 1,
    kCustFirstName = 2,
    kCustTown = 4,
    kCustNumber = 5,
    kCustRemark = 8,
    kCustCardNumber = 9,
};

}  // namespace card
