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

var cDefCap="#FFFFFF", fDefCap="Arial", fDefCapS=12, cDefMenu="#FFFFFF", fDefMenu="Arial", fDefMenuS=12, PRJ_sTemplate="Temp.html";
document.write('\
<style type="text/css">\
.clCap {cursor:hand; text-decoration:none; color:'+cDefCap+'; font-family:"'+fDefCap+'"; font-size:'+fDefCapS+'pt;}\
.clMenu {text-decoration:none; color:'+cDefMenu+'; font-family:"'+fDefMenu+'"; font-size:'+fDefMenuS+'pt;}\
');
var numOfMenus=0,scrIN=20,scrOUT=10,IDE=1,iSelectedMenu=0,errs="",old_pageYOffset=0,widthChk,heightChk;
var cmpW=640, cmpL="Menu", cmpX=10, cmpY=10;
var PR = new Array (numOfMenus);
var MTC = new Array ();
var MTCH = new Array ();
var MTM = new Array ();
var MX = new Array ();
var MY = new Array ();
var MW = new Array ();
var CO = new Array ();
var CC = new Array ();
var CM = new Array ();
var MA = new Array ();
var FL = new Array ();
var OO = new Array ();
var AN = new Array ();
var AE = new Array ();
