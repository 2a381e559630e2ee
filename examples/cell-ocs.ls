/PROG  CELL
/ATTR
OWNER		= MNEDITOR;
COMMENT		= "";
PROG_SIZE	= 0;
/MN
   1:L P[1] 100mm/sec FINE    ;
   2:L P[2] 100mm/sec FINE    ;
   3:L P[3] 100mm/sec FINE    ;
   4:L P[4] 100mm/sec FINE    ;
   5:L P[5] 100mm/sec FINE    ;
   6:L P[6] 100mm/sec FINE    ;
/POS
P[1]{
   GP1:
	UF : 0, UT : 1,		CONFIG : 'N U T, 0, 0, 0',
	X =   799.750  mm,	Y =  -399.500  mm,	Z =   300.125  mm,
	W =     0.000 deg,	P =     0.000 deg,	R =     0.000 deg
};
P[2]{
   GP1:
	UF : 0, UT : 1,		CONFIG : 'N U T, 0, 0, 0',
	X =   879.500  mm,	Y =   350.750  mm,	Z =   310.000  mm,
	W =     0.000 deg,	P =     0.000 deg,	R =    90.000 deg
};
P[3]{
   GP1:
	UF : 0, UT : 1,		CONFIG : 'N U T, 0, 0, 0',
	X =   219.625  mm,	Y =   400.125  mm,	Z =   295.500  mm,
	W =    90.000 deg,	P =     0.000 deg,	R =    90.000 deg
};
P[4]{
   GP1:
	UF : 0, UT : 1,		CONFIG : 'N U T, 0, 0, 0',
	X =   179.375  mm,	Y =  -350.000  mm,	Z =   320.250  mm,
	W =   170.000 deg,	P =    30.000 deg,	R =   -45.000 deg
};
P[5]{
   GP1:
	UF : 0, UT : 1,		CONFIG : 'N U T, 0, 0, 0',
	X =   549.500  mm,	Y =     0.500  mm,	Z =   850.750  mm,
	W =    35.000 deg,	P =   -20.000 deg,	R =    12.500 deg
};
P[6]{
   GP1:
	UF : 0, UT : 1,		CONFIG : 'N U T, 0, 0, 0',
	X =   399.875  mm,	Y =  -199.750  mm,	Z =   550.500  mm,
	W =   -60.000 deg,	P =    10.000 deg,	R =  -135.000 deg
};
/END
