
//Page Device Control phones
%CS0
%CS1
%CS2
%CS3
%CS4
%CS5
%CS6
%CS7
%CS8
%CS9

//Page System Main Params

%MODEMSMSMD1
%CC
%ID
%DAS0
%UB
%DESC
%PRTCS0
%PRTSP0
%SP
%PIN
%SIGNALA0
%RPLERR0
%RPLSUC0
%RSILOW
%SMSC
%PUK
%FWDSMS0
%FWDKEY
%modemfwdspan0
%CHECKBALANCE,

//Page System Alarm Params

%SNDALARMDLYEN0
%OUTDLY
%INDLY
%IOAT
%ARING0
%ASC0
%AWB0
%UARTEVENT0
%DRPTMP0
%DRPTID0
%DRPDEF0
%DRPRSI0
%DRPDIN0
%DRPMEM0
%DRPBAT0
%DRPETMP0
%AINDRP0000
%DINCDRP0

//Page Rom Sms

%S00
%S01
%S02
%S03
%S04
%S05
%S06
%S07
%S08
%S09
%S10
%S11
%S12
%S13
%S14
%S15
%S16
%S17
%S18
%S19
%S20
%S21
%S22
%S23
%S24
%S25
%S26
%S27
%S28
%S29

//Page system basic prio table


//Page Digital inputs Names

%I00
%I01
%I02
%I03

//Page digital alarm prio table


//Page Digital outputs Names

%O00
%O01
%O02
%O03

//Page analog alarm prio table


//Page AD names

%A00
%A01
%A02
%A03

//Page ISensor Names

%E00
%E01
%E02
%E03
%E04
%E05
