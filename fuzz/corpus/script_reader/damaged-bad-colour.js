/*
******************************************************** 
 You may use this script on commercial and personal web sites, free of charge, 
 provided that this notice stays in the script unchanged. 
 Didad 1.03 
  https://www.divero.example/didad/download.html 
 All other rights reserved by Divero. 
*********************************************************
*/
RarurAVI_Ver = "1.00";

var cDefCap="#1A2B3", fDefCap="Times New Roman", fDefCapS=2, cDefMenu="#000000", fDefMenu="Courier", fDefMenuS=999, PRJ_sTemplate="index.html";
document.write('\
<style type="text/css">\
.clCap {cursor:hand; text-decoration:none; color:'+cDefCap+'; font-family:"'+fDefCap+'"; font-size:'+fDefCapS+'pt;}\
.clMenu {text-decoration:none; color:'+cDefMenu+'; font-family:"'+fDefMenu+'"; font-size:'+fDefMenuS+'pt;}\
');
var numOfMenus=4,scrIN=999,scrOUT=1,IDE=0,iSelectedMenu=2,errs="",old_pageYOffset=0,widthChk,heightChk;
var cmpW=480, cmpL="\"Menü\"\\", cmpX=-5, cmpY=0;
var PR = new Array (numOfMenus);
var MTC = new Array ("<A HREF=\"a.html\">Home</A>","<CENTER>\
C<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER>","back\\slash\\","it's \"quoted\"");
var MTCH = new Array (22,600,1,30);
var MTM = new Array ("line one\
line two","<nObR>Blank menu</nObR>","<nObR>already wrapped</nObR>","<NOBR>x</NOBR>");
var MX = new Array (-100,10,2147483647,0);
var MY = new Array (600,10,-2147483648,0);
var MW = new Array (150,1,900,200);
var CO = new Array ("transparent","#FF0000","#ABCDEF","transparent");
var CC = new Array ("#000000","#00FF80","#123456","transparent");
var CM = new Array ("#008080","transparent","#FEDCBA","transparent");
var MA = new Array (0,1,0,1);
var FL = new Array (1,0,1,1);
var OO = new Array (0,1,1,0);
var AN = new Array (3,1,0,0);
var AE = new Array ("header h1[title=\"x\"]","","","");
