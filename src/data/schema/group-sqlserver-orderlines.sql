-- For a server whose group tables were made by an older group-sqlserver.sql: the tables that
-- hold each order line's state and the group's stock. The same text as in group-sqlserver.sql.
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
