-- Tables of the group's own (names begin with grp_). The tables bown2, bowndrugs and smartertable
-- stay as they are; copies of the program that do not know these tables keep working.
-- Preparation lists printed: one row per order, when first and last printed and how many times.
CREATE TABLE grp_printed (
    orderid varchar(20) NOT NULL,
    firstprinted varchar(19) NULL,
    lastprinted varchar(19) NULL,
    times int NOT NULL
);
