#pragma once
// Word material for the sample dictionaries. One entry per line:
//   headword|part of speech|definition|derived forms (comma-separated)
// Derived forms get a definition made from the base word by their suffix.

namespace mksample {

inline const char* const kBaseWords = R"(
about|prep.|concerning; on the subject of|
above|prep.|in or to a higher place than; over|
accept|v.|to take or receive something that is offered|acceptance
account|n.|a report or description of an event; a record of money received and paid out|
act|v.|to do something; to take action; to perform a part in a play|actor
add|v.|to put together with something else so as to increase the number or amount|addition
address|n.|the particulars of the place where someone lives or an organization is situated|
admire|v.|to regard with respect or warm approval|admirer
advice|n.|guidance or a recommendation offered with regard to future action|
afraid|adj.|feeling fear or anxiety; frightened|
age|n.|the length of time that a person has lived or a thing has existed|
agree|v.|to have the same opinion about something; to consent|agreement
air|n.|the invisible mixture of gases that surrounds the earth|airless,airy
airplane|n.|a powered flying vehicle with fixed wings|
alive|adj.|living; not dead|
allow|v.|to let someone have or do something; to permit|allowance
anger|n.|a strong feeling of annoyance, displeasure or hostility|
animal|n.|a living organism that feeds on organic matter and is able to move of its own accord|
answer|n.|a thing said or written in reply to a question or a letter|
apple|n.|the round fruit of a tree of the rose family, with red, green or yellow skin and crisp white flesh|
arm|n.|each of the two upper limbs of the human body from the shoulder to the hand|
arrive|v.|to reach a place at the end of a journey|arrival
art|n.|the expression of human creative skill in a visual form such as painting or sculpture|artful,artless
artist|n.|a person who produces paintings or drawings as a profession|
ask|v.|to say something in order to obtain an answer or some information|
autumn|n.|the season after summer and before winter|
baby|n.|a very young child, particularly one newly born|babyish
bake|v.|to cook food by dry heat, without direct exposure to a flame, typically in an oven|baker
ball|n.|a solid or hollow sphere, used in games|
bank|n.|the land alongside a river or lake; an institution that keeps and lends money|
banker|n.|a person who manages or owns a bank|
basket|n.|a container used to hold or carry things, woven from strips of cane or wire|
bath|n.|a large container for water in which one sits to wash the body|
bear|n.|a large heavy mammal with thick fur and a very short tail|
bear|v.|to carry; to support the weight of; to endure|
beautiful|adj.|pleasing the senses or the mind; lovely|beautifully
bed|n.|a piece of furniture for sleep or rest|
begin|v.|to start; to perform or undergo the first part of an action|beginner
beginning|n.|the point in time or space at which something starts|
believe|v.|to accept that something is true|believer
bell|n.|a hollow metal object that sounds a clear note when struck|
bird|n.|a warm-blooded animal with feathers and wings that lays eggs|
bitter|adj.|having a sharp, harsh taste; not sweet|bitterly,bitterness
black|adj.|of the very darkest colour, like coal or soot|blackness
blue|adj.|of the colour of a clear sky or the deep sea|bluish
boat|n.|a small vessel for travelling over water|
body|n.|the physical structure of a person or an animal|
bold|adj.|showing courage; (of type) printed in thick heavy strokes|boldly,boldness
book|n.|a written or printed work of pages fastened together in a cover|
bottle|n.|a container with a narrow neck, used for storing liquids|
brave|adj.|ready to face and endure danger or pain|bravely
bread|n.|food made of flour, water and yeast, mixed together and baked|
bridge|n.|a structure carrying a road or path across a river or valley|
bright|adj.|giving out or reflecting much light; shining|brightly,brightness
bring|v.|to take or go with someone or something to a place|
brother|n.|a man or boy in relation to other sons and daughters of his parents|brotherly
build|v.|to make something by putting parts or material together|builder
building|n.|a structure with a roof and walls, such as a house or a school|
busy|adj.|having a great deal to do|
butter|n.|a pale yellow fat made by churning cream, used in cooking and as a spread|buttery
cake|n.|a sweet food baked from a mixture of flour, eggs, fat and sugar|
calm|adj.|not showing nervousness, anger or other strong emotions|calmly,calmness
candle|n.|a stick of wax with a central wick that is lit to give light|
care|n.|serious attention given to doing something correctly or to avoid damage|careful,careless
carry|v.|to support and move someone or something from one place to another|carrier
castle|n.|a large building fortified against attack, with thick walls and towers|
cat|n.|a small domesticated animal with soft fur, a short snout and sharp claws|
catalog|n.|a complete list of items arranged in order|
center|n.|the middle point of a circle or sphere; a place where an activity is concentrated|
chair|n.|a seat for one person, with a back and usually four legs|
cheap|adj.|low in price; worth more than its cost|cheaply
cheese|n.|a food made from the pressed curds of milk|
child|n.|a young human being below the age of full growth|childish,childless
city|n.|a large town|
clean|adj.|free from dirt, marks or stains|cleanly
clear|adj.|easy to perceive or understand; transparent|clearly,clearness
climb|v.|to go up something, particularly by using the hands and feet|climber
clock|n.|an instrument for measuring and showing the time|
cloud|n.|a visible mass of water droplets floating in the sky|cloudy,cloudless
coat|n.|an outer garment with sleeves, worn outdoors|
cold|adj.|of or at a low temperature|coldly,coldness
color|n.|the property of an object that produces different sensations on the eye as a result of the way it reflects light|colorful,colorless
come|v.|to move towards or into a place thought of as near the speaker|
corner|n.|a place where two or more sides or edges meet|
count|v.|to find the total number of a collection of things|counter
country|n.|a nation with its own government; land away from the towns|
courage|n.|the ability to do something that frightens one|
cow|n.|a fully grown female animal of a domesticated breed of ox|
cup|n.|a small bowl-shaped container for drinking from, usually with a handle|
cut|v.|to make an opening or wound with a sharp tool|cutter
dance|v.|to move rhythmically to music|dancer
danger|n.|the possibility of suffering harm or injury|
dark|adj.|with little or no light|darkly,darkness
daughter|n.|a girl or woman in relation to her parents|
day|n.|a period of twenty-four hours; the time of light between sunrise and sunset|
dear|adj.|regarded with deep affection; expensive|dearly
decide|v.|to come to a resolution in the mind after thinking|
deep|adj.|extending far down from the top or surface|deeply
desk|n.|a piece of furniture with a flat top, used for writing or reading|
dinner|n.|the main meal of the day|
doctor|n.|a person qualified to treat people who are ill|
dog|n.|a domesticated meat-eating mammal with a keen sense of smell|
door|n.|a movable barrier at the entrance to a building or room|
dream|n.|a series of thoughts and images occurring in the mind during sleep|dreamer,dreamy,dreamless
dress|n.|a one-piece garment for a woman or girl|
drink|v.|to take a liquid into the mouth and swallow it|drinker
drive|v.|to operate and control the direction and speed of a vehicle|driver
dry|adj.|free from moisture or liquid|dryness
dust|n.|fine particles of earth or other matter|dusty
eager|adj.|strongly wanting to do or have something|eagerly,eagerness
ear|n.|the organ of hearing|
early|adj.|happening before the usual or expected time|
earth|n.|the planet on which we live; the soil in which plants grow|earthy
easy|adj.|achieved without great effort|
eat|v.|to put food into the mouth, chew and swallow it|eater
egg|n.|an oval object laid by a female bird, usually containing a young one|
empty|adj.|containing nothing|emptiness
end|n.|the final part of something|endless
enemy|n.|a person who is actively opposed to someone|
enjoy|v.|to take pleasure in|enjoyment
enter|v.|to come or go into a place|
equal|adj.|being the same in quantity, size or value|equally
evening|n.|the period of time at the end of the day|
eye|n.|the organ of sight|
face|n.|the front part of the head from the forehead to the chin|
fact|n.|a thing that is known to be true|
fair|adj.|treating people equally; (of hair) light in colour|fairly,fairness
fair|n.|a gathering of stalls and amusements for public entertainment|
fall|v.|to move downwards, typically rapidly and freely|
family|n.|a group of one or more parents and their children living together|
farm|n.|an area of land used for growing crops and keeping animals|
farmer|n.|a person who owns or manages a farm|
fast|adj.|moving or capable of moving at high speed|
father|n.|a man in relation to his child|fatherly,fatherless
favor|n.|an act of kindness beyond what is due; approval or support|
fear|n.|an unpleasant emotion caused by the threat of danger or pain|fearful,fearless
feather|n.|any of the flat structures growing from a bird's skin|
field|n.|an area of open land, particularly one planted with crops|
fire|n.|burning that gives out bright light, heat and smoke|
fish|n.|a cold-blooded animal with gills and fins, living in water|
flower|n.|the seed-bearing part of a plant, often brightly coloured|flowery
fly|v.|to move through the air using wings|
follow|v.|to go or come after|follower
food|n.|any substance that people or animals eat or drink to stay alive|
foot|n.|the lower part of the leg, on which a person stands or walks|
forest|n.|a large area covered chiefly with trees|
forget|v.|to fail to remember|forgetful
free|adj.|able to act or be done as one wishes|freely
fresh|adj.|newly made or obtained; not stale|freshly,freshness
friend|n.|a person with whom one has a bond of mutual affection|friendly,friendless
fruit|n.|the sweet and fleshy product of a tree or plant that contains seed|fruitful,fruitless
funny|adj.|causing laughter or amusement|
garden|n.|a piece of ground used for growing flowers, fruit or vegetables|
gardener|n.|a person who tends and cultivates a garden|
gate|n.|a hinged barrier used to close an opening in a wall or fence|
gentle|adj.|mild in temper; not harsh or violent|gentleness
gift|n.|a thing given willingly to someone without payment|
girl|n.|a female child|girlish
give|v.|to freely transfer the possession of something to someone|giver
glad|adj.|pleased; delighted|gladly,gladness
glass|n.|a hard brittle transparent substance; a drinking container made of it|
go|v.|to move from one place to another; to travel|
gold|n.|a yellow precious metal|
good|adj.|to be desired or approved of; of high quality|goodness
grass|n.|vegetation of plants with long narrow leaves|grassy
gray|adj.|of a colour between black and white, like ashes or lead|grayish
great|adj.|of an extent or amount much above the normal|greatly,greatness
green|adj.|of the colour between blue and yellow, like fresh grass|greenish
grow|v.|to increase in size; to develop|grower
guest|n.|a person who is invited to visit or to stay|
hair|n.|the fine threads growing from the skin of people and animals|hairy,hairless
hand|n.|the end part of the arm beyond the wrist|
happy|adj.|feeling or showing pleasure or contentment|happily,happiness
hard|adj.|solid, firm and difficult to break; difficult|hardness
harvest|n.|the gathering in of a crop; the season for it|
hat|n.|a shaped covering for the head|
head|n.|the upper part of the body, containing the brain, eyes and mouth|
hear|v.|to perceive a sound with the ear|
heart|n.|the organ that pumps blood through the body; the centre of feeling|heartless
heavy|adj.|of great weight; difficult to lift or move|heaviness
help|v.|to make it easier for someone to do something|helper,helpless
hill|n.|a naturally raised area of land, lower than a mountain|hilly
history|n.|the study of past events|
hold|v.|to grasp, carry or support with one's arms or hands|holder
holiday|n.|a day of festivity or rest from work|
home|n.|the place where one lives permanently|homeless
honest|adj.|free of deceit; truthful and sincere|honestly
honor|n.|high respect; great esteem|
hope|n.|a feeling of expectation and desire for a certain thing to happen|hopeful,hopeless
horse|n.|a large four-legged animal used for riding and for pulling loads|
hot|adj.|having a high temperature|
house|n.|a building for people to live in|
hunger|n.|a feeling of discomfort caused by lack of food|
hurry|v.|to move or act with great haste|
ice|n.|frozen water|icy
idea|n.|a thought or suggestion about a possible course of action|
ill|adj.|suffering from an illness; unwell|illness
important|adj.|of great significance or value|importantly
ink|n.|a coloured fluid used for writing, drawing or printing|inky
inside|adv.|on or to the inner side|
invent|v.|to create or design something that has not existed before|inventor,invention
iron|n.|a strong hard grey metal; a device for smoothing clothes|
island|n.|a piece of land surrounded by water|
islander|n.|a person living on an island|
jam|n.|a sweet spread made from fruit and sugar boiled together|
job|n.|a paid position of regular employment|jobless
join|v.|to link or connect; to become a member of|joiner
joke|n.|a thing that someone says to cause amusement or laughter|
journey|n.|an act of travelling from one place to another|
joy|n.|a feeling of great pleasure and happiness|joyful,joyless
judge|n.|a public officer appointed to decide cases in a law court|
jump|v.|to push oneself off the ground into the air using the legs|
just|adj.|morally right and fair|justly
keep|v.|to have or retain possession of|keeper
key|n.|a small piece of shaped metal used to open or close a lock|keyless
kind|adj.|having a friendly, generous and considerate nature|kindly,kindness
king|n.|the male ruler of an independent state|kingly
kitchen|n.|a room where food is prepared and cooked|
knife|n.|a tool with a sharp blade and a handle, used for cutting|
knock|v.|to strike a surface noisily to attract attention|knocker
know|v.|to be aware of through observation, inquiry or information|
ladder|n.|a set of steps between two upright lengths of wood or metal|
lake|n.|a large area of water surrounded by land|
lamp|n.|a device for giving light|
land|n.|the part of the earth's surface that is not covered by water|
language|n.|the system of words used by a particular community or country|
late|adj.|doing something after the expected or usual time|lateness
laugh|v.|to make the sounds and movements that express amusement|
lazy|adj.|unwilling to work or use energy|laziness
leaf|n.|a flat green structure of a plant, attached to a stem|leafy,leafless
learn|v.|to gain knowledge or skill by study, experience or being taught|learner
letter|n.|a character representing a sound; a written message sent by post|
library|n.|a building or room containing collections of books|
light|n.|the natural agent that makes things visible|
light|adj.|of little weight; not heavy|lightly,lightness
lion|n.|a large wild cat of Africa and India with a tawny coat|
listen|v.|to give one's attention to a sound|listener
little|adj.|small in size or amount|
live|v.|to remain alive; to make one's home in a place|
long|adj.|measuring a great distance from end to end|
lose|v.|to be deprived of; to fail to keep|loser
loud|adj.|producing much noise|loudly,loudness
love|n.|an intense feeling of deep affection|loveless
lucky|adj.|having, bringing or resulting from good fortune|
machine|n.|an apparatus using mechanical power to perform a particular task|
man|n.|an adult human male|
map|n.|a drawing of an area of land or sea showing its physical features|
market|n.|a regular gathering of people for the buying and selling of goods|
meal|n.|an occasion when food is eaten; the food eaten on such an occasion|
meat|n.|the flesh of an animal as food|meaty
medicine|n.|a substance taken to treat or prevent disease|
meet|v.|to come into the presence of someone by chance or arrangement|
milk|n.|a white fluid produced by female mammals to feed their young|milky
mind|n.|the faculty of consciousness and thought|mindful,mindless
mirror|n.|a surface, usually of glass, that reflects a clear image|
money|n.|coins and banknotes used as a medium of exchange|
month|n.|each of the twelve named periods into which a year is divided|
moon|n.|the natural satellite of the earth, seen at night|moonless
morning|n.|the period of time between midnight and noon|
mother|n.|a woman in relation to her child|motherly
mountain|n.|a large natural elevation of the earth's surface|
mouse|n.|a small rodent with a pointed snout and a long thin tail|
mouth|n.|the opening in the face through which food is taken|
music|n.|vocal or instrumental sounds combined to give beauty of form|
nail|n.|the hard covering on the tip of a finger or toe; a small metal spike|
name|n.|a word by which a person or thing is known|nameless
narrow|adj.|of small width in relation to length|narrowly,narrowness
nature|n.|the physical world, including plants, animals and the landscape|
near|adv.|at or to a short distance away|
neck|n.|the part of the body connecting the head to the rest of the body|
needle|n.|a very fine slender piece of metal with a point at one end and a hole at the other|
neighbor|n.|a person living next door or very near|
nest|n.|a structure made by a bird for laying eggs and sheltering its young|
new|adj.|not existing before; made or discovered recently|newly,newness
news|n.|newly received information about recent events|
night|n.|the period of darkness between sunset and sunrise|
noise|n.|a sound, particularly one that is loud or unpleasant|noisy,noiseless
north|n.|the direction to the left of a person facing the rising sun|
nose|n.|the part of the face above the mouth, used for breathing and smelling|
number|n.|an arithmetical value used in counting and calculation|numberless
ocean|n.|a very large expanse of sea|
offer|v.|to present something for someone to accept or reject|
office|n.|a room or building used for business or professional work|
oil|n.|a thick sticky liquid obtained from petroleum or from plants|oily
old|adj.|having lived for a long time; no longer young|
open|adj.|allowing access; not closed|openly,openness
orange|n.|a round juicy citrus fruit with a tough bright reddish-yellow rind|
order|n.|the arrangement of things in relation to each other|
page|n.|one side of a leaf of paper in a book or newspaper|
paint|n.|a coloured substance spread over a surface|
painter|n.|an artist who paints pictures; a person who paints buildings|
paper|n.|material made in thin sheets from the pulp of wood, used for writing on|
parent|n.|a father or mother|
park|n.|a large public garden in a town|
party|n.|a social gathering of invited guests|
pen|n.|an instrument for writing or drawing with ink|
pencil|n.|an instrument for writing, made of a thin stick of graphite in wood|
people|n.|human beings in general|
pepper|n.|a hot-tasting powder made from dried berries, used to flavour food|peppery
piano|n.|a large musical instrument played by pressing keys|
picture|n.|a painting, drawing or photograph|
plant|n.|a living organism such as a tree, grass or flower|
play|v.|to engage in activity for enjoyment and recreation|player,playful
plow|n.|a large farming tool with blades for turning over the soil|
pocket|n.|a small bag sewn into or on clothing|
poem|n.|a piece of writing in which feelings and ideas are given intensity by rhythm|
polite|adj.|having good manners|politely,politeness
poor|adj.|lacking money to live at a comfortable standard|
potato|n.|a starchy plant tuber eaten as a vegetable|
pride|n.|a feeling of satisfaction from one's achievements|
print|v.|to produce a book or picture by transferring text or designs to paper|printer
proud|adj.|feeling pride or satisfaction|proudly
pull|v.|to exert force on something to move it towards oneself|
push|v.|to exert force on something to move it away from oneself|
quarter|n.|each of four equal parts into which something is divided|
queen|n.|the female ruler of an independent state|queenly
question|n.|a sentence worded so as to obtain information|
quick|adj.|moving fast or doing something in a short time|quickly,quickness
quiet|adj.|making little or no noise|quietly,quietness
rabbit|n.|a burrowing animal with long ears and a short tail|
rain|n.|water falling in drops from clouds|rainy
read|v.|to look at and understand the meaning of written matter|reader
ready|adj.|in a suitable state for an activity or situation|
reason|n.|a cause or explanation for an action or event|
remember|v.|to bring to one's mind an awareness of someone or something|
rest|n.|a period of relaxing or sleeping|restful,restless
rich|adj.|having a great deal of money|richly,richness
ride|v.|to sit on and control the movement of a horse or bicycle|rider
right|adj.|morally good; correct; on the side of the body to the east when facing north|rightly
ring|n.|a small circular band worn on a finger|
river|n.|a large natural stream of water flowing to the sea|
road|n.|a wide way leading from one place to another|
role|n.|an actor's part in a play; the function of someone in a situation|
roof|n.|the structure forming the upper covering of a building|roofless
room|n.|a part of a building enclosed by walls, floor and ceiling|roomy
rope|n.|a length of strong cord made by twisting strands together|
rose|n.|a prickly bush bearing fragrant flowers; the flower itself|
round|adj.|shaped like a circle or a ball|roundness
run|v.|to move at a speed faster than a walk|runner
sad|adj.|feeling or showing sorrow; unhappy|sadly,sadness
safe|adj.|protected from danger or risk|safely
salt|n.|a white substance used for seasoning or preserving food|salty
sand|n.|a loose granular substance found on beaches and in deserts|sandy
school|n.|an institution for educating children|
sea|n.|the expanse of salt water that covers most of the earth's surface|
season|n.|each of the four divisions of the year|
see|v.|to perceive with the eyes|
sell|v.|to give something in exchange for money|seller
send|v.|to cause to go or be taken to a destination|sender
shadow|n.|a dark area produced by a body coming between light and a surface|shadowy
sharp|adj.|having an edge or point able to cut|sharply,sharpness
sheep|n.|a domesticated animal with a thick woolly coat|sheepish
ship|n.|a large boat for transporting people or goods by sea|
shoe|n.|a covering for the foot, with a stiff sole|
short|adj.|measuring a small distance from end to end|shortness
shy|adj.|nervous or timid in the company of other people|shyly,shyness
silver|n.|a shiny grey-white precious metal|silvery
sing|v.|to make musical sounds with the voice|singer
sister|n.|a woman or girl in relation to other children of her parents|sisterly
sky|n.|the region of the atmosphere seen from the earth|
sleep|n.|a condition of body and mind in which the eyes are closed and the body is at rest|sleepy,sleepless
slow|adj.|moving at a low speed|slowly,slowness
small|adj.|of a size that is less than normal|smallness
smile|v.|to form the features into a pleased or amused expression|
snow|n.|frozen water vapour falling in light white flakes|snowy
soft|adj.|easy to mould or press; not hard|softly,softness
song|n.|a short poem set to music to be sung|
soup|n.|a liquid dish made by boiling meat, fish or vegetables in water|
speak|v.|to say something in order to give information or express feelings|speaker
spring|n.|the season after winter and before summer|
star|n.|a luminous point in the night sky|starry,starless
stone|n.|hard solid mineral matter; a small piece of rock|stony
storm|n.|a violent disturbance of the atmosphere with strong winds|stormy
strange|adj.|unusual or surprising|strangely
street|n.|a public road in a city or town|
strong|adj.|having the power to move heavy weights|strongly
sugar|n.|a sweet crystalline substance obtained from plants|sugary
summer|n.|the warmest season of the year|
sun|n.|the star round which the earth orbits|sunny,sunless
sweet|adj.|having the pleasant taste of sugar or honey|sweetly,sweetness
swim|v.|to move through water by moving the limbs|swimmer
table|n.|a piece of furniture with a flat top and one or more legs|
tail|n.|the hindmost part of an animal, extending beyond the body|tailless
tall|adj.|of great height|
taste|n.|the sensation of flavour perceived in the mouth|tasteful,tasteless
tea|n.|a hot drink made by infusing dried leaves in boiling water|
teach|v.|to impart knowledge to or instruct someone|teacher
tell|v.|to communicate information to someone in spoken or written words|teller
thank|v.|to express gratitude to|thankful
thick|adj.|with opposite sides or surfaces that are far apart|thickness
thin|adj.|with opposite surfaces close together; slender|thinness
think|v.|to have a particular opinion or belief|thinker
theater|n.|a building in which plays and other dramatic performances are given|
thunder|n.|a loud rumbling noise heard after a lightning flash|
time|n.|the indefinite continued progress of existence and events|timeless
tire|n.|a rubber covering placed round a wheel to form a flexible contact with the road|
tired|adj.|in need of sleep or rest|tiredness
tongue|n.|the fleshy muscular organ in the mouth|
tooth|n.|each of a set of hard white structures in the jaws, used for biting|toothless
town|n.|an urban area larger than a village and smaller than a city|
toy|n.|an object for a child to play with|
train|n.|a series of railway carriages moved as a unit by a locomotive|
travel|v.|to make a journey|
tree|n.|a woody plant with a main trunk and branches|treeless
true|adj.|in accordance with fact or reality|
trust|n.|firm belief in the reliability or truth of someone or something|trustful
truth|n.|the quality of being in accordance with fact|truthful
ugly|adj.|unpleasant to look at|ugliness
umbrella|n.|a folding device used as protection against rain|
uncle|n.|the brother of one's father or mother|
understand|v.|to perceive the intended meaning of words or a speaker|
up|adv.|towards a higher place or position|
use|v.|to take, hold or deploy something as a means of achieving a purpose|user,useless
valley|n.|a low area of land between hills or mountains|
vegetable|n.|a plant or part of a plant used as food|
village|n.|a group of houses and other buildings in a country area|
villager|n.|a person who lives in a village|
visit|v.|to go to see and spend time with someone|visitor
voice|n.|the sound produced in a person's throat and uttered through the mouth|voiceless
wait|v.|to stay where one is until a particular time or event|waiter
walk|v.|to move at a regular pace by lifting and setting down each foot in turn|walker
wall|n.|a continuous upright structure of brick or stone|
warm|adj.|of or at a fairly high temperature|warmly
wash|v.|to clean with water|
watch|v.|to look at attentively|watcher,watchful
water|n.|a colourless transparent liquid which forms the seas, lakes and rain|watery
weak|adj.|lacking the power to perform physically demanding tasks|weakly,weakness
weather|n.|the state of the atmosphere at a place and time|
week|n.|a period of seven days|
well|adv.|in a good or satisfactory way|
well|n.|a shaft sunk into the ground to obtain water or oil|
wet|adj.|covered or saturated with water or another liquid|wetness
wheel|n.|a circular object that revolves on an axle|
white|adj.|of the colour of milk or fresh snow|whiteness
wide|adj.|of great or more than average width|widely
wild|adj.|living or growing in the natural environment; not tame|wildly,wildness
wind|n.|the natural movement of the air|windy,windless
window|n.|an opening in a wall, fitted with glass, to admit light or air|
winter|n.|the coldest season of the year|
wise|adj.|having experience, knowledge and good judgement|wisely
wolf|n.|a wild meat-eating animal of the dog family|
wonder|n.|a feeling of surprise mingled with admiration|wonderful
wood|n.|the hard fibrous material of the trunk and branches of a tree|woody
word|n.|a single unit of language that has meaning|wordless
work|v.|to be engaged in physical or mental activity to achieve a result|worker
world|n.|the earth, together with all of its countries and peoples|
write|v.|to mark letters or words on a surface with a pen or pencil|writer
wrong|adj.|not correct or true|wrongly
yard|n.|a unit of length equal to three feet; a piece of enclosed ground|
year|n.|the time taken by the earth to make one revolution around the sun|
yellow|adj.|of the colour of egg yolks or ripe lemons|yellowish
young|adj.|having lived for only a short time|
youth|n.|the period between childhood and adult age|youthful
zebra|n.|an African wild horse with black and white stripes|
zero|n.|no quantity or number; the figure 0|
zone|n.|an area distinguished from adjacent parts by a particular feature|
zoo|n.|an establishment which keeps wild animals for study and display|
)";

// Loan words with accents, and headwords with hyphens, apostrophes and
// blanks: the characters that index order and lookup must cope with.
inline const char* const kLoanAndCompoundWords = R"(
all right|adj.|satisfactory but not particularly good; safe and well|
café|n.|a small restaurant selling light meals and drinks|
cliché|n.|a phrase or opinion that is overused and shows a lack of original thought|
crème brûlée|n.|a dessert of custard topped with a layer of caramelized sugar|
déjà vu|n.|a feeling of having already experienced the present situation|
doppelgänger|n.|an apparition or double of a living person|
e-mail|n.|messages sent electronically from one computer to another|
élite|n.|a select group that is superior in terms of ability or qualities to the rest|
entrée|n.|the main course of a meal; the right to enter a place|
façade|n.|the principal front of a building, facing on to a street|
father-in-law|n.|the father of one's husband or wife|
fiancé|n.|a man to whom one is engaged to be married|
fiancée|n.|a woman to whom one is engaged to be married|
forget-me-not|n.|a low-growing plant with bright blue flowers|
good-bye|interj.|used to express good wishes when parting|
ice cream|n.|a soft frozen food made with sweetened and flavoured milk fat|
jack-in-the-box|n.|a toy consisting of a box containing a figure on a spring which pops up when the lid is opened|
jalapeño|n.|a very hot green chilli pepper|
mother-in-law|n.|the mother of one's husband or wife|
naïve|adj.|showing a lack of experience, wisdom or judgement|naïvely
ne'er-do-well|n.|a person who is lazy and irresponsible|
o'clock|adv.|used to state the hour when telling the time|
piñata|n.|a decorated container filled with sweets, broken open by blindfolded children at a party|
protégé|n.|a person who is guided and supported by an older and more experienced person|
resume|v.|to begin again or continue after a pause|
résumé|n.|a summary; a brief account of a person's education and career|
rock 'n' roll|n.|a type of popular dance music of the 1950s|
self-esteem|n.|confidence in one's own worth or abilities|
smörgåsbord|n.|a buffet offering a variety of hot and cold dishes|
soufflé|n.|a light, spongy baked dish made with beaten egg whites|
twenty-one|n.|the number equivalent to the sum of twenty and one; 21|
über|adv.|(informal) super; to an extreme or excellent degree|
well-being|n.|the state of being comfortable, healthy or happy|
x-ray|n.|an electromagnetic wave of very short wavelength; a photograph made with such waves|
)";

// Entries that send the reader to another headword:
//   headword|part of speech|text before the target (empty: "see")|target
inline const char* const kCrossReferences = R"(
aeroplane|||airplane
ate|v.|past tense of|eat
best|adj.|superlative of|good
better|adj.|comparative of|good
brought|v.|past tense of|bring
built|v.|past tense of|build
cafe|||café
catalogue|||catalog
centre|||center
children|n.|plural of|child
colour|||color
colourful|||colorful
colourless|||colorless
drank|v.|past tense of|drink
email|||e-mail
favour|||favor
feet|n.|plural of|foot
gone|v.|past participle of|go
goodbye|||good-bye
grey|||gray
honour|||honor
ice-cream|||ice cream
knives|n.|plural of|knife
men|n.|plural of|man
mice|n.|plural of|mouse
naive|||naïve
neighbour|||neighbor
plough|||plow
ran|v.|past tense of|run
rôle|||role
sang|v.|past tense of|sing
spoke|v.|past tense of|speak
swam|v.|past tense of|swim
taught|v.|past tense of|teach
teeth|n.|plural of|tooth
theatre|||theater
thought|v.|past tense of|think
tyre|||tire
went|v.|past tense of|go
wolves|n.|plural of|wolf
wrote|v.|past tense of|write
)";

} // namespace mksample
