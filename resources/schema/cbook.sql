-- Callbook database (DB/CallBook/CBook.mdb). The look-up reads the columns by position: keep the order.

CREATE TABLE CB_W (
    Call VARCHAR(20) COLLATE NOCASE,
    Name VARCHAR(50) COLLATE NOCASE,
    QTH VARCHAR(50) COLLATE NOCASE,
    QTHLoc VARCHAR(10) COLLATE NOCASE,
    Note VARCHAR(250) COLLATE NOCASE,
    EMail VARCHAR(50) COLLATE NOCASE,
    Other INTEGER,
    UpdateStamp DATETIME,
    Birthday DATETIME
);
CREATE INDEX CB_W_Call ON CB_W (Call);
