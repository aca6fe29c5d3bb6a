onClipEvent(load){
faz = 1;
del = [0,2,,1];
jmp = [0,2,1,6];
}
onClipEvent(enterFrame){
if( faz < 5){
if(del[faz]>0){
del[faz] -= 1;
}else{
this.gotoAndPlay(jmp[faz]);
faz += 1;
}
}
}
