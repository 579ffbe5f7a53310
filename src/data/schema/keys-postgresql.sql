-- Keys: no two orders share an id, no order is marked printed twice. For a new server and for one
-- made before the keys; where two rows stand in a key's way, its statement fails, names the key
-- and leaves the table as it was.
CREATE UNIQUE INDEX IF NOT EXISTS bown2_orderid ON bown2 (orderid);
CREATE UNIQUE INDEX IF NOT EXISTS grp_printed_orderid ON grp_printed (orderid);
