-- Keys: no two orders share an id, no order is marked printed twice. For a new server (after
-- sqlserver.sql and group-sqlserver.sql) and for one made before the keys: each key is added where
-- no two rows stand in its way; where some do, it is left out and a line names the table.
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'bown2_orderid')
   AND NOT EXISTS (SELECT orderid FROM bown2 WHERE orderid IS NOT NULL GROUP BY orderid HAVING COUNT(*) > 1)
    CREATE UNIQUE INDEX bown2_orderid ON bown2 (orderid) WHERE orderid IS NOT NULL
ELSE IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'bown2_orderid')
    PRINT 'bown2: some order ids are shared; the key was not added';
IF OBJECT_ID('grp_printed') IS NOT NULL AND NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'grp_printed_orderid')
   AND NOT EXISTS (SELECT orderid FROM grp_printed GROUP BY orderid HAVING COUNT(*) > 1)
    CREATE UNIQUE INDEX grp_printed_orderid ON grp_printed (orderid)
ELSE IF OBJECT_ID('grp_printed') IS NOT NULL AND NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'grp_printed_orderid')
    PRINT 'grp_printed: some orders are marked twice; the key was not added';
