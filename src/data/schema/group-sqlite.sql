-- Tables of the group's own (names begin with grp_). The tables bown2, bowndrugs and smartertable
-- stay as they are; copies of the program that do not know these tables keep working.
-- Preparation lists printed: one row per order, when first and last printed and how many times.
CREATE TABLE grp_printed (
    orderid varchar(20) NOT NULL,
    firstprinted varchar(19) NULL,
    lastprinted varchar(19) NULL,
    times int NOT NULL
);
-- Wholesalers, their offers, purchase orders made from the group's demand, what arrived and
-- how it was shared among the pharmacies' orders.
CREATE TABLE grp_wholesalers (
    wholesaler int NOT NULL PRIMARY KEY,
    name varchar(60) NOT NULL,
    phone varchar(20) NULL,
    district varchar(30) NULL
);
-- A wholesaler's newer offer for a drug stands in place of the older ones.
CREATE TABLE grp_offers (
    wholesaler int NOT NULL,
    drug varchar(70) NOT NULL,
    discount real NOT NULL,
    offerdate varchar(8) NOT NULL
);
-- One row per period: the purchase orders last made from its demand. Its key stops two copies
-- making purchase orders from the same period at once.
CREATE TABLE grp_pobatches (
    periodfrom varchar(8) NOT NULL,
    periodto varchar(8) NOT NULL,
    batch varchar(20) NOT NULL,
    demand varchar(60) NOT NULL,
    madeat varchar(14) NOT NULL,
    PRIMARY KEY (periodfrom, periodto)
);
CREATE TABLE grp_purchaseorders (
    poid varchar(20) NOT NULL PRIMARY KEY,
    batch varchar(20) NOT NULL,
    podate varchar(8) NOT NULL,
    wholesaler int NOT NULL,
    periodfrom varchar(8) NOT NULL,
    periodto varchar(8) NOT NULL,
    demand varchar(60) NOT NULL,
    total real NOT NULL,
    status varchar(10) NOT NULL,
    replacedby varchar(20) NULL
);
CREATE TABLE grp_purchaselines (
    poid varchar(20) NOT NULL,
    lineseq int NOT NULL,
    drug varchar(70) NOT NULL,
    quantity real NOT NULL,
    price real NOT NULL,
    discount real NOT NULL,
    linevalue real NOT NULL,
    received real NOT NULL,
    PRIMARY KEY (poid, lineseq)
);
CREATE TABLE grp_receipts (
    poid varchar(20) NOT NULL,
    lineseq int NOT NULL,
    seq int NOT NULL,
    quantity real NOT NULL,
    total real NOT NULL,
    sharerule varchar(12) NOT NULL,
    receivedat varchar(14) NOT NULL,
    PRIMARY KEY (poid, lineseq, seq)
);
CREATE TABLE grp_allotments (
    poid varchar(20) NOT NULL,
    lineseq int NOT NULL,
    orderid varchar(14) NOT NULL,
    drug varchar(70) NOT NULL,
    tel varchar(11) NOT NULL,
    asked real NOT NULL,
    allotted int NOT NULL
);
-- Each line of a sent order the group has taken up (one per order and drug name key), in whole
-- units: on order in the purchase-order line poid/lineseq, allotted (from receipts or stock),
-- cancelled; the rest is open and the next plan buys it. An order line without a row is open.
CREATE TABLE grp_orderlines (
    orderid varchar(14) NOT NULL,
    drugkey varchar(70) NOT NULL,
    drug varchar(70) NOT NULL,
    tel varchar(11) NOT NULL,
    asked int NOT NULL,
    onorder int NOT NULL,
    allotted int NOT NULL,
    cancelled int NOT NULL,
    poid varchar(20) NULL,
    lineseq int NULL,
    PRIMARY KEY (orderid, drugkey)
);
-- One row per keeping of a plan; its number heads the purchase orders' numbers.
CREATE TABLE grp_keeps (
    batch varchar(16) NOT NULL PRIMARY KEY,
    madeat varchar(14) NOT NULL,
    periodfrom varchar(8) NOT NULL,
    periodto varchar(8) NOT NULL,
    sharerule varchar(12) NOT NULL
);
-- The group's own stock per drug; the catalogue's stock column is only the opening count of a
-- drug without a row here.
CREATE TABLE grp_stock (
    drugkey varchar(70) NOT NULL PRIMARY KEY,
    drug varchar(70) NOT NULL,
    quantity int NOT NULL
);
-- What went into and out of the group's stock: used (allotted to an order by a plan, below 0),
-- surplus (received beyond the orders of a purchase-order line), count (the manager's correction).
CREATE TABLE grp_stockmoves (
    drugkey varchar(70) NOT NULL,
    drug varchar(70) NOT NULL,
    kind varchar(8) NOT NULL,
    quantity int NOT NULL,
    batch varchar(16) NULL,
    poid varchar(20) NULL,
    lineseq int NULL,
    orderid varchar(14) NULL,
    movedat varchar(14) NOT NULL
);
