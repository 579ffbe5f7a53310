-- Keys: no two orders share an id, no order is marked printed twice. Added on every start where no
-- two rows stand in their way.
CREATE UNIQUE INDEX IF NOT EXISTS bown2_orderid ON bown2 (orderid);
CREATE UNIQUE INDEX IF NOT EXISTS grp_printed_orderid ON grp_printed (orderid);
