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
var numOfMenus=6,scrIN=20,scrOUT=10,IDE=1,iSelectedMenu=5,errs="",old_pageYOffset=0,widthChk,heightChk;
var cmpW=640, cmpL="Menu", cmpX=10, cmpY=10;
var PR = new Array (numOfMenus);
var MTC = new Array ("Caption","Caption","Caption","Caption","Caption","Caption");
var MTCH = new Array (22,22,22,22,22,22);
var MTM = new Array ("Blank menu","Blank menu","Blank menu","Blank menu","Blank menu","Blank menu");
var MX = new Array (10,162,314,466,618,10);
var MY = new Array (10,10,10,10,10,110);
var MW = new Array (150,150,150,150,150,150);
var CO = new Array ("transparent","transparent","transparent","transparent","transparent","transparent");
var CC = new Array ("#000000","#000000","#000000","#000000","#000000","#000000");
var CM = new Array ("#008080","#008080","#008080","#008080","#008080","#008080");
var MA = new Array (0,0,0,0,0,0);
var FL = new Array (1,1,1,1,1,1);
var OO = new Array (0,0,0,0,0,0);
var AN = new Array (0,0,0,0,0,0);
var AE = new Array ("","","","","","");
