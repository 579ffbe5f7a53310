-- Tables of the group's SQL Server database. The database collation must use the Arabic code
-- page (for example Arabic_CI_AS) so that varchar columns hold Arabic names and districts.
CREATE TABLE bown2 (
    drug TEXT NULL,
    orderid varchar(14) NULL,
    date real NULL,
    timee real NULL,
    tel varchar(11) NULL,
    markaz varchar(20) NULL,
    mohafaza varchar(20) NULL,
    submitted int NULL,
    telesels int NULL,
    orvexextra bit NULL,
    pharmacistname varchar(30) NULL
);
CREATE TABLE bowndrugs (
    drug varchar(70) NULL,
    price real NULL,
    disc real NULL,
    lastdate varchar(6) NULL,
    stock real NULL,
    demanded real NULL,
    spare1 varchar(50) NULL,
    spare2 varchar(50) NULL,
    highistdiskout varchar(20) NULL
);
CREATE TABLE smartertable (
    appname nvarchar(50) NULL,
    appversion nvarchar(20) NULL,
    appmsg nvarchar(1000) NULL,
    appadminpassword nvarchar(50) NULL
);
